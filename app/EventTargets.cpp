#include "app/EventTargets.h"

#include <map>
#include <mutex>

namespace {

std::mutex& TargetsMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<void*, std::shared_ptr<CDodezOvurerDlg::EventTarget>>& Targets() {
    static std::map<void*, std::shared_ptr<CDodezOvurerDlg::EventTarget>> targets;
    return targets;
}

} // namespace

namespace EventTargets {

void Register(void* context, std::shared_ptr<CDodezOvurerDlg::EventTarget> target) {
    std::lock_guard<std::mutex> lock(TargetsMutex()); // held only for the map update
    Targets()[context] = std::move(target);
}

void Unregister(void* context) {
    std::lock_guard<std::mutex> lock(TargetsMutex());
    Targets().erase(context);
}

std::shared_ptr<CDodezOvurerDlg::EventTarget> Find(void* context) {
    std::lock_guard<std::mutex> lock(TargetsMutex());
    auto found = Targets().find(context);
    return found == Targets().end() ? nullptr : found->second;
}

} // namespace EventTargets
