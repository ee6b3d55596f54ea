// The engine's burn dialog: what will be burned, then Prepare and Burn as
// the program would run them, with the run's progress, and Cancel, then
// Close. Prepare runs on a worker thread and the burn on the run's thread;
// the dialog's thread never waits for either, since both may be inside one
// of the program's event handlers, which send messages to windows of this
// very thread. Every end of a burn (success, failure, cancel) raises one
// burn-done event.
#pragma once

#include "burner/dialogs/EngineDialog.h"
#include "burner/dialogs/TrackSummary.h"

#include <cstdint>
#include <memory>
#include <string>

class BurnEventRelay;

class EngineBurnDialog : public EngineDialog {
public:
    // `note`, when not empty, is the first status line instead of the usual one.
    explicit EngineBurnDialog(std::wstring note);
    ~EngineBurnDialog() override;

    // Shows the dialog until it is closed: 0 when the burn succeeded or
    // nothing was burned, otherwise a code whose text says why.
    int32_t Run(const wchar_t* caption);

private:
    enum class Phase { Ready, Preparing, Running, Ended };

    void OnInit() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnBurn();
    void OnCancel();
    void OnProgress();
    void OnWorkerEnded(int32_t code);
    void Settle();
    void Finish(int32_t code, const std::wstring& status, bool raiseBurnDone);
    void SetStatus(const std::wstring& text) const;

    std::wstring m_note;
    size_t m_trackCount = 0;
    TrackSummary m_summary;
    std::shared_ptr<BurnEventRelay> m_relay;
    Phase m_phase = Phase::Ready;
    bool m_workerEnded = false;
    int32_t m_workerCode = 0;
    bool m_runFinished = false;
    bool m_burnDoneSeen = false;
    int32_t m_result = 0;
};
