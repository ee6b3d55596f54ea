// What the engine's event handlers reach of the dialog. The engine may raise
// an event on a thread of its own, nested in a call the dialog makes, or after
// the dialog has ended (a Stop, then Exit, while the engine winds down); so a
// handler never touches the dialog's objects: it looks its context up here,
// gets the dialog's window (null once destroyed) and the burning flag, and
// acts through window calls only. The target it gets stays valid while it
// holds it.
#pragma once

#include "burn/TaskbarProgress.h"

#include <windows.h>

#include <atomic>
#include <memory>

struct EventTarget {
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> burning{false};
    // The taskbar button's copy of the burn progress bar.
    TaskbarProgress taskbar;
};

// The dialog's idle/burning switch: locks or frees the controls a run must not
// touch, sets the burn button's caption (and the idle title when going idle),
// then stores the flag. Window calls only, so any thread may call it; a window
// that is gone is left alone.
void SetBurning(EventTarget& target, bool burning);

namespace EventTargets {

void Register(void* context, std::shared_ptr<EventTarget> target);
void Unregister(void* context);
// Null for a context that is not (or no longer) registered.
std::shared_ptr<EventTarget> Find(void* context);

} // namespace EventTargets
