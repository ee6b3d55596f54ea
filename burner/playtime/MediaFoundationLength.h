// The duration Media Foundation states for a file: the way to measure
// formats the header readers do not know.
#pragma once

#include <cstdint>

enum class MediaFoundationOutcome {
    Measured,
    NotReadable, // no source for the file, or no audio stream in it
    Unavailable, // Media Foundation or COM could not be started
    TimedOut,    // no answer within the time allowed
};

struct MediaFoundationLength {
    MediaFoundationOutcome outcome = MediaFoundationOutcome::NotReadable;
    uint64_t duration = 0; // 100 ns units
};

// Asks on a thread of its own and waits at most timeoutMs for the answer.
MediaFoundationLength MeasureWithMediaFoundation(const wchar_t* path,
                                                 unsigned long timeoutMs = 10000);
