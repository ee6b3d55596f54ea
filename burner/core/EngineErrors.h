// The engine's result codes and the sentence a user reads for each.
#pragma once

#include <cstdint>
#include <string>

enum class EngineError : int32_t {
    Ok = 0,
    NotInitialized = 1,
    NotAvailableYet = 2,
    InvalidArgument = 3,
    NoSuchDevice = 4,
    NoProject = 5,
    Busy = 6,
    Internal = 7,
};

// A plain sentence for every code; unknown codes get one too.
std::wstring EngineErrorText(int32_t code);

// Records the sentence a failure has of its own (naming the file or saying
// why); GetText gives it for that code until the next failure of the same
// code. Returns the code.
int32_t RecordErrorText(int32_t code, const std::wstring& sentence);

constexpr int32_t ToCode(EngineError error) {
    return static_cast<int32_t>(error);
}
