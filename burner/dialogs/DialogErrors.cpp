#include "burner/dialogs/DialogErrors.h"

#include <map>
#include <mutex>

namespace {

std::mutex g_textsMutex; // guards g_texts only
std::map<int32_t, std::wstring> g_texts;

} // namespace

int32_t DialogFailure(DialogError error, const std::wstring& sentence) {
    std::lock_guard<std::mutex> lock(g_textsMutex);
    g_texts[ToCode(error)] = sentence;
    return ToCode(error);
}

std::wstring DialogErrorText(int32_t code) {
    {
        std::lock_guard<std::mutex> lock(g_textsMutex);
        auto found = g_texts.find(code);
        if (found != g_texts.end()) return found->second;
    }
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
