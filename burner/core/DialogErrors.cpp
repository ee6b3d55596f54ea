#include "burner/core/DialogErrors.h"

#include "burner/core/EngineErrors.h"

int32_t DialogFailure(DialogError error, const std::wstring& sentence) {
    return RecordErrorText(ToCode(error), sentence);
}

std::wstring DialogErrorText(int32_t code) {
    switch (static_cast<DialogError>(code)) {
    case DialogError::BurnFailed:
        return L"The burn did not complete.";
    case DialogError::BurnCancelled:
        return L"The burn was cancelled before it was complete; no disc image was written.";
    case DialogError::DialogNotShown:
        return L"The burner engine's window could not be shown.";
    }
    return L"The burner engine reported an unknown problem (code " + std::to_wstring(code) + L").";
}
