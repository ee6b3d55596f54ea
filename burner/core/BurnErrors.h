// Result codes 200-299: preparing and burning a run, and the Image
// Recorder. A failure that concerns a file or a folder records a sentence
// naming it, which GetText gives for that code until the next failure of the
// same code.
#pragma once

#include <cstdint>
#include <string>

enum class BurnError : int32_t {
    NoTracks = 200,
    TooManyTracks = 201,
    FileMissing = 202,
    FileNotAudio = 203,
    DiscTooSmall = 204,
    FolderMissing = 205,
    FolderNotWritable = 206,
    NotPrepared = 207,
    RunUnderWay = 208,
    DecoderUnavailable = 209,
    ImageNotCreated = 210,
};

constexpr int32_t ToCode(BurnError error) {
    return static_cast<int32_t>(error);
}

// Records the sentence for this failure and returns its code.
int32_t FailWith(BurnError error, const std::wstring& sentence);

// The code's general sentence (a recorded one comes first, see RecordErrorText).
std::wstring BurnErrorText(int32_t code);
