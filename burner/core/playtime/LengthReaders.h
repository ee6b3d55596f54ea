// The header readers together: which one a file's first bytes call for, and
// what a settled length means in whole seconds. Over any byte source, so a
// plain buffer in memory serves as well as a file.
#pragma once

#include "burner/core/playtime/AudioLength.h"
#include "burner/core/playtime/ByteSource.h"

#include <cstdint>

AudioLength MeasureLength(ByteSource& source);

// A container or stream that a decoder may read though no reader of ours
// settles it (MP4, AAC, CAF...).
bool LooksLikeOtherMedia(ByteSource& source);

// Whole seconds for a settled length of a file of the given size; 0 or a
// play-time EngineError code for lengths that are empty or beyond belief.
int32_t WholeSeconds(uint64_t frames, uint64_t rate, uint64_t fileSize, int32_t* seconds);
