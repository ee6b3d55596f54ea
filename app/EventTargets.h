// Which event contexts still belong to a live dialog. The engine may raise an
// event after the dialog has ended (a Stop, then Exit, while the engine winds
// down): the handlers look their context up here and never touch a dialog
// that is gone. The target they get stays valid while they hold it.
#pragma once

#include "app/CDodezOvurerDlg.h"

#include <memory>

namespace EventTargets {

void Register(void* context, std::shared_ptr<CDodezOvurerDlg::EventTarget> target);
void Unregister(void* context);
std::shared_ptr<CDodezOvurerDlg::EventTarget> Find(void* context);

} // namespace EventTargets
