// The duration Media Foundation states for a file: the way to measure
// formats the header readers do not know.
#pragma once

#include <cstdint>

enum class MediaFoundationOutcome {
    Measured,
    NotReadable, // no source for the file, or no audio stream in it
    Unavailable, // Media Foundation or COM could not be started
};

struct MediaFoundationLength {
    MediaFoundationOutcome outcome = MediaFoundationOutcome::NotReadable;
    uint64_t duration = 0; // 100 ns units
};

// Starts Media Foundation once per process; COM is initialised for the call
// as far as the calling thread allows.
MediaFoundationLength MeasureWithMediaFoundation(const wchar_t* path);
