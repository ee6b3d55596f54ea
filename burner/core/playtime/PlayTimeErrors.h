// Result codes of play-time measurement (100-199) and their sentences.
#pragma once

#include <cstdint>
#include <string>

enum class PlayTimeError : int32_t {
    CannotOpen = 101,
    EmptyFile = 102,
    NotAudio = 103,
    Damaged = 104,
    NoSound = 105,
    TooLong = 106,
    MediaUnavailable = 107,
};

constexpr int32_t ToCode(PlayTimeError error) {
    return static_cast<int32_t>(error);
}
constexpr bool IsPlayTimeCode(int32_t code) {
    return code >= 100 && code <= 199;
}

std::wstring PlayTimeErrorText(int32_t code);
