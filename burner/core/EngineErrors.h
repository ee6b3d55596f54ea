// The engine's result codes in one table: each code, the sentence a user
// reads for it (GetText), and where a failure concerns one file, the part of
// the sentence that says what is wrong with it ("is empty."). Ranges: 0-99
// the engine itself, 100-199 play time, 200-299 preparing and burning a run
// and the Image Recorder, 300-399 the engine's own dialogs.
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

    CannotOpen = 101,
    EmptyFile = 102,
    NotAudio = 103,
    Damaged = 104,
    NoSound = 105,
    TooLong = 106,
    MediaUnavailable = 107,

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

    BurnFailed = 300,
    BurnCancelled = 301,
    DialogNotShown = 302,
};

constexpr int32_t ToCode(EngineError error) {
    return static_cast<int32_t>(error);
}

// The code's sentence: the one its last failure recorded (see FailWith), else
// the table's; unknown codes get one too.
std::wstring EngineErrorText(int32_t code);

// The table's own sentence for the code.
std::wstring ErrorSentence(EngineError error);

// "The file "<path>" is empty.": the named file and the code's own part, or
// the code's sentence where the table has no part for it.
std::wstring FileErrorText(EngineError error, const std::wstring& path);

// Records the sentence a failure has of its own (naming the file or saying
// why); GetText gives it for that code until the next failure of the same
// code. Without a sentence, the table's own is recorded. Returns the code.
int32_t FailWith(EngineError error, const std::wstring& sentence);
int32_t FailWith(EngineError error);
