// The engine's erase dialog. The only recorder is the Image Recorder,
// which has no rewritable disc: the dialog says so and offers Close.
#pragma once

#include "burner/dialogs/EngineDialog.h"

#include <cstdint>

class EngineEraseDialog : public EngineDialog {
public:
    // Shows the dialog until it is closed; 0, or a code when it could not be shown.
    int32_t Run(const wchar_t* caption);

private:
    void OnInit() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};
