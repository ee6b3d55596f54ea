// Length of AIFF and AIFF-C files: the sample frames of the COMM chunk,
// for uncompressed sample data (AIFF-C's NONE, sowt, fl32, fl64 and kin),
// no more than the SSND chunk holds.
#pragma once

#include "burner/core/playtime/AudioLength.h"
#include "burner/core/playtime/ByteSource.h"

bool LooksLikeAiff(const uint8_t* head, size_t size);
AudioLength ReadAiffLength(ByteSource& source);

// The 80-bit IEEE extended number of the COMM chunk's sample rate, rounded;
// 0 for values that are no sample rate.
uint32_t ExtendedToRate(const uint8_t* bytes);
