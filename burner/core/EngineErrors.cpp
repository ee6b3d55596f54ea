#include "burner/core/EngineErrors.h"

#include "burner/core/DialogErrors.h"
#include "burner/core/BurnErrors.h"
#include "burner/core/playtime/PlayTimeErrors.h"

#include <map>
#include <mutex>

namespace {

std::mutex g_recordedMutex; // guards g_recorded only
std::map<int32_t, std::wstring> g_recorded;

} // namespace

int32_t RecordErrorText(int32_t code, const std::wstring& sentence) {
    std::lock_guard<std::mutex> lock(g_recordedMutex);
    g_recorded[code] = sentence;
    return code;
}

std::wstring EngineErrorText(int32_t code) {
    {
        std::lock_guard<std::mutex> lock(g_recordedMutex);
        auto found = g_recorded.find(code);
        if (found != g_recorded.end()) return found->second;
    }
    // Each part of the engine owns a range of codes and their sentences.
    // 100-199: play time; 200-299: burning and images; 300-399: preview and
    // the engine's own dialogs.
    if (code >= 200 && code < 300) return BurnErrorText(code);
    if (IsPlayTimeCode(code)) return PlayTimeErrorText(code);
    if (code >= 300 && code < 400) return DialogErrorText(code);
    switch (static_cast<EngineError>(code)) {
    case EngineError::Ok:
        return L"The operation completed successfully.";
    case EngineError::NotInitialized:
        return L"The burner engine has not been started.";
    case EngineError::NotAvailableYet:
        return L"This operation is not available yet in this version of the burner engine.";
    case EngineError::InvalidArgument:
        return L"The burner engine was given a value it cannot use.";
    case EngineError::NoSuchDevice:
        return L"The chosen recorder is not available.";
    case EngineError::NoProject:
        return L"There is no project to add tracks to.";
    case EngineError::Busy:
        return L"The recorder is busy with another run.";
    case EngineError::Internal:
        return L"The burner engine ran into an unexpected problem.";
    }
    return L"The burner engine reported an unknown problem (code " + std::to_wstring(code) + L").";
}
