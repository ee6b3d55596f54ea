#include "burn/TaskbarProgress.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 0x7A5B;

// The state change sent to the bar: wParam is the mode.
UINT StateMessage() {
    static const UINT message = RegisterWindowMessageW(L"QuillotuneTaskbarState");
    return message;
}

} // namespace

ComPtr<ITaskbarList3> TaskbarProgress::SystemTaskbar() {
    ComPtr<ITaskbarList3> service;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(service.Receive()))))
        return {};
    if (FAILED(service->HrInit())) return {};
    return service;
}

TaskbarProgress::TaskbarProgress(ServiceFactory factory) : m_factory(std::move(factory)) {}

TaskbarProgress::~TaskbarProgress() {
    Release();
}

void TaskbarProgress::Follow(HWND bar, HWND window) {
    Release();
    if (bar == nullptr) return;
    if (!SetWindowSubclass(bar, BarProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return;
    m_bar = bar;
    m_window = window;
}

void TaskbarProgress::Release() {
    HWND bar = m_bar.exchange(nullptr);
    if (bar != nullptr) RemoveWindowSubclass(bar, BarProc, kSubclassId);
}

void TaskbarProgress::Send(Mode mode) const {
    // Synchronous, so the button has changed when the caller goes on (before
    // the box that ends a run, for one).
    HWND bar = m_bar.load();
    if (bar != nullptr) SendMessageW(bar, StateMessage(), static_cast<WPARAM>(mode), 0);
}

LRESULT CALLBACK TaskbarProgress::BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
    auto* taskbar = reinterpret_cast<TaskbarProgress*>(self);
    if (message == StateMessage()) {
        taskbar->Switch(static_cast<Mode>(wParam));
        return 0;
    }
    if (message == WM_NCDESTROY) {
        taskbar->Release();
        return DefSubclassProc(bar, message, wParam, lParam);
    }
    LRESULT result = DefSubclassProc(bar, message, wParam, lParam);
    if (message == PBM_SETPOS || message == PBM_DELTAPOS || message == PBM_STEPIT)
        if (taskbar->m_mode == Mode::Running) taskbar->ShowPosition();
    return result;
}

ITaskbarList3* TaskbarProgress::Service() {
    // Asked for once: a system without the service does not get asked at
    // every event.
    if (!m_asked && m_factory) m_service = m_factory();
    m_asked = true;
    return m_service.Get();
}

void TaskbarProgress::Switch(Mode mode) {
    if (mode == m_mode) return;
    m_mode = mode;
    // Nothing was shown before the first run, so going idle then needs no
    // service.
    ITaskbarList3* service = mode == Mode::Idle && !m_asked ? nullptr : Service();
    if (service == nullptr) return;
    // The results are not read: a button that cannot show progress only
    // shows less.
    static constexpr TBPFLAG kStates[] = {TBPF_NOPROGRESS, TBPF_NORMAL, TBPF_ERROR};
    service->SetProgressState(m_window, kStates[static_cast<int>(mode)]);
    if (mode != Mode::Idle) ShowPosition();
}

void TaskbarProgress::ShowPosition() {
    ITaskbarList3* service = Service();
    if (service == nullptr) return;
    PBRANGE range{};
    SendMessageW(m_bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    if (range.iHigh <= range.iLow) return;
    int position = static_cast<int>(SendMessageW(m_bar, PBM_GETPOS, 0, 0));
    // An error before any progress still shows, as a full bar in red.
    if (m_mode == Mode::Failed && position <= range.iLow) position = range.iHigh;
    service->SetProgressValue(m_window, position - range.iLow, range.iHigh - range.iLow);
}
