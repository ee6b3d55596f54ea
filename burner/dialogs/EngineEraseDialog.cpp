#include "burner/dialogs/EngineEraseDialog.h"

#include "burner/core/EngineErrors.h"
#include "burner/dialogs/DialogIds.h"

int32_t EngineEraseDialog::Run(const wchar_t* caption) {
    if (RunModal(IDD_ENGINE_ERASE, caption) == -1) return ToCode(EngineError::DialogNotShown);
    return 0;
}

void EngineEraseDialog::OnInit() {
    SetItemText(IDC_ENGINE_RECORDER, ChosenRecorderText());
    // A shared system icon: not ours to destroy.
    SendMessageW(Item(IDC_ENGINE_NOTE_ICON), STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_INFORMATION)), 0);
    SetItemText(IDC_ENGINE_NOTE, L"The Image Recorder writes disc images to files and has no "
                                 L"rewritable disc, so there is nothing to erase.");
}

bool EngineEraseDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        End(0);
        return true;
    }
    return false;
}
