// A burn's progress on the program's taskbar button: the percent of the burn
// progress bar while a run goes, the error state when a run ends with errors,
// nothing while idle. The taskbar service (ITaskbarList3) is asked for at
// the first run; where there is none (older systems, some Wine versions),
// nothing is shown and nothing else changes.
//
// The engine moves the progress bar from its own thread; the taskbar service
// lives on the dialog's thread. So this object follows the bar from inside
// (a subclass sees each new position on the bar's own thread), and its state
// changes are sent to the bar, from whatever thread they come.
#pragma once

#include "base/Handles.h"

#include <windows.h>
#include <shobjidl.h>

#include <atomic>
#include <functional>

class TaskbarProgress {
public:
    // Where the taskbar service comes from: the system's, or a test's.
    using ServiceFactory = std::function<ComPtr<ITaskbarList3>()>;
    static ComPtr<ITaskbarList3> SystemTaskbar();

    explicit TaskbarProgress(ServiceFactory factory = SystemTaskbar);
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // Follows `bar` for the taskbar button of `window` (the dialog), until
    // the bar is destroyed.
    void Follow(HWND bar, HWND window);

    // From any thread. A run starts: the button shows the bar's percent.
    void RunStarted() const { Send(Mode::Running); }
    // The run ended with errors: the button turns to the error state.
    void RunFailed() const { Send(Mode::Failed); }
    // Idle again: the button shows no progress.
    void Idle() const { Send(Mode::Idle); }

private:
    enum class Mode { Idle, Running, Failed };

    static LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self);
    void Send(Mode mode) const;
    void Switch(Mode mode);
    void ShowPosition();
    ITaskbarList3* Service();
    void Release();

    ServiceFactory m_factory;
    ComPtr<ITaskbarList3> m_service;
    bool m_asked = false;
    // Set on the dialog's thread, read by the engine's when a run changes phase.
    std::atomic<HWND> m_bar{nullptr};
    HWND m_window = nullptr;
    Mode m_mode = Mode::Idle;
};
