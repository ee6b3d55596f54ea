// What a burn started by the burn dialog shares with the dialog: each of the
// run's events goes to the program's handler first, then the dialog hears of
// it by a posted message (never a sent one: the dialog's thread may be inside
// one of the program's message boxes, and the run must not wait for it). The
// run and the dialog's worker hold the relay, so it outlives the dialog.
#pragma once

#include "burner/EngineState.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>

class BurnEventRelay {
public:
    // Messages posted to the dialog.
    static constexpr UINT kProgress = WM_APP + 1; // TakeProgress() has news
    static constexpr UINT kFinalize = WM_APP + 2;
    static constexpr UINT kBurnDone = WM_APP + 3; // after the program's handler returned

    BurnEventRelay(HWND dialog, const EventHandlers& program);

    // The handlers to give the run.
    EventHandlers Handlers();

    struct Progress {
        float percent = 0;
        uint32_t track = 0;
    };
    // The latest progress; the next progress event posts again.
    Progress TakeProgress();
    // The burn-done event's text: empty when the burn succeeded.
    std::string BurnDoneText() const;

    void RequestCancel() { m_cancelRequested = true; }
    bool CancelRequested() const { return m_cancelRequested; }

private:
    static void ENGINE_CALL OnFinalize(void* context);
    static void ENGINE_CALL OnBurnDone(const char* errorText, void* context);
    static void ENGINE_CALL OnProcess(float percent, uint32_t track, float bufferFill,
                                      double bytesWritten, uint64_t totalBytes, void* context);
    static void ENGINE_CALL OnAudioDecoder(float percent, uint64_t track, void* context);
    static void ENGINE_CALL OnAudioDecodeDone(const char* fileName, uint32_t track, int32_t error,
                                              void* context);

    HWND m_dialog;
    EventHandlers m_program;
    mutable std::mutex m_mutex; // guards m_progress and m_burnDoneText; never held in a handler
    Progress m_progress;
    std::string m_burnDoneText;
    std::atomic<bool> m_progressPosted{false};
    std::atomic<bool> m_cancelRequested{false};
};
