// Gapless MP3: encoders put silence before and after the sound (their own
// delay, and padding to a whole frame) and record how much in the LAME (or
// Lavf) tag of the Xing/Info frame. Decoders that honour it start 529 +
// delay samples in and stop before the padding; the Source Reader under
// Wine does not, so the engine trims by itself, and tracks follow each other
// without a gap and agree with the play time shown.
#pragma once

#include "burner/core/playtime/ByteSource.h"

#include <cstddef>
#include <cstdint>

struct GaplessTrim {
    uint64_t untrimmed = 0; // frames a decoder gives without trimming
    uint64_t skip = 0;      // frames to drop at the start
    uint64_t keep = 0;      // frames of sound after those
};

// frame: the bytes of the first MPEG audio frame (header included).
bool ParseGaplessInfo(const uint8_t* frame, size_t size, GaplessTrim& trim);

// The same, for a whole file: ID3v2 tags are skipped first. False for
// anything without the information (other formats included).
bool ReadMp3Gapless(ByteSource& source, GaplessTrim& trim);
