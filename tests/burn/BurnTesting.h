// Helpers shared by the burn, event, recorder and preview tests.
#pragma once

#include "tests/support/DialogHarness.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using Calls = std::vector<std::string>;
using Lines = std::vector<std::wstring>;

// The controls a running burn disables.
extern const std::vector<int> kLockedControls;

// A started dialog with these rows in its track list, calls cleared.
void StartWithTracks(DialogHarness& h, const std::vector<std::wstring>& paths);

// "&Burn Now!" and the burn start timer's first tick: the run up to `Burn`.
void PressBurnAndTick(DialogHarness& h);

// A thread of the engine's own that raises events. Its events' window calls
// complete only while the dialog's thread handles messages, which PumpUntil
// and Finish do. Message boxes shown on it are caught. A deadlock ends the
// test program with a message rather than hanging it.
class EngineThread {
public:
    explicit EngineThread(std::function<void()> work);
    ~EngineThread();
    EngineThread(const EngineThread&) = delete;
    EngineThread& operator=(const EngineThread&) = delete;

    void PumpUntil(DialogHarness& h, const std::function<bool()>& condition);
    // Pumps until the work is done and joins the thread.
    void Finish(DialogHarness& h);

private:
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// Runs `work` on an engine thread while this thread handles the dialog's
// messages, until the work is done.
void RunOnEngineThread(DialogHarness& h, const std::function<void()>& work);

// Handles every message, the dialog's real timer ticks included, for about
// `milliseconds`.
void PumpWithTimers(int milliseconds);

// What the user sees of the idle and burning states, in one text per control
// so that a mismatch names the control.
std::vector<std::string> StateOfLockedControls(const DialogHarness& h);
// The idle state after a run shows "&Burn Now!"; before the first run the
// button still has its template caption, "Burn Now!".
std::vector<std::string> ExpectedLockedState(bool burning);
std::vector<std::string> ExpectedStateBeforeTheFirstRun();

int BarPosition(const DialogHarness& h, int id);
