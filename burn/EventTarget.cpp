#include "burn/EventTarget.h"

#include "resources/resource.h"

#include <map>
#include <mutex>

namespace {

// The controls a running burn locks.
constexpr int kLockedWhileBurning[] = {
    IDC_ADD,   IDC_DELETE, IDC_MOVE_UP,   IDC_MOVE_DOWN, IDC_PLAY,         IDC_STOP_PREVIEW,
    IDC_ERASE, IDC_EXIT,   IDC_RECORDERS, IDC_SPEED,     IDC_VOLUME_LABEL, IDC_EJECT};

std::mutex& TargetsMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<void*, std::shared_ptr<EventTarget>>& Targets() {
    static std::map<void*, std::shared_ptr<EventTarget>> targets;
    return targets;
}

} // namespace

void SetBurning(EventTarget& target, bool burning) {
    // From another thread these calls are carried out on the dialog's thread;
    // on a destroyed window they do nothing.
    HWND window = target.window.load();
    if (window != nullptr) {
        for (int id : kLockedWhileBurning)
            EnableWindow(GetDlgItem(window, id), burning ? FALSE : TRUE);
        SetWindowTextW(GetDlgItem(window, IDC_BURN), burning ? L"&Stop" : L"&Burn Now!");
        if (!burning) SetWindowTextW(window, kIdleTitle);
    }
    if (burning)
        target.taskbar.RunStarted();
    else
        target.taskbar.Idle();
    target.burning.store(burning);
}

namespace EventTargets {

void Register(void* context, std::shared_ptr<EventTarget> target) {
    std::lock_guard<std::mutex> lock(TargetsMutex()); // held only for the map update
    Targets()[context] = std::move(target);
}

void Unregister(void* context) {
    std::lock_guard<std::mutex> lock(TargetsMutex());
    Targets().erase(context);
}

std::shared_ptr<EventTarget> Find(void* context) {
    std::lock_guard<std::mutex> lock(TargetsMutex());
    auto found = Targets().find(context);
    return found == Targets().end() ? nullptr : found->second;
}

} // namespace EventTargets
