// Play time of an audio file: its own headers read where we know the format,
// Media Foundation's duration for anything else or anything they cannot settle.
#pragma once

#include "burner/playtime/AudioLength.h"
#include "burner/playtime/ByteSource.h"

#include <cstdint>

// Whole seconds of decoded audio in *seconds (0 on failure) and a result
// code: 0, or one of PlayTimeError.
int32_t MeasurePlayTime(const wchar_t* path, int32_t* seconds);

// The header readers alone, over any byte source.
AudioLength MeasureLength(ByteSource& source);

// A container or stream that Media Foundation may decode though no reader
// of ours does (FLAC, MP4, AIFF, AAC...).
bool LooksLikeOtherMedia(ByteSource& source);

// Whole seconds for a settled length of a file of the given size; 0 or a
// PlayTimeError code for lengths that are empty or beyond belief.
int32_t WholeSeconds(uint64_t frames, uint64_t rate, uint64_t fileSize, int32_t* seconds);
