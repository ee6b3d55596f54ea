// Result codes 300-399: preview playback and the engine's own dialogs. A
// failure that has its own sentence (why a burn failed) records it, and
// GetText gives it for that code until the next failure of the same code.
#pragma once

#include <cstdint>
#include <string>

enum class DialogError : int32_t {
    BurnFailed = 300,
    BurnCancelled = 301,
    DialogNotShown = 302,
};

constexpr int32_t ToCode(DialogError error) {
    return static_cast<int32_t>(error);
}

// Records the sentence for this failure and returns its code.
int32_t DialogFailure(DialogError error, const std::wstring& sentence);

// The code's general sentence (a recorded one comes first, see RecordErrorText).
std::wstring DialogErrorText(int32_t code);
