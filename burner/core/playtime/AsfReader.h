// Length of WMA files (ASF): the play duration of the File Properties object
// less the preroll. Decoders of WMA 1 and 2 hold back their first frame, so
// that frame is taken off too.
#pragma once

#include "burner/core/playtime/AudioLength.h"
#include "burner/core/playtime/ByteSource.h"

bool LooksLikeAsf(const uint8_t* head, size_t size);
AudioLength ReadAsfLength(ByteSource& source);

// Samples per frame of WMA version 1 or 2 at a sample rate.
uint32_t WmaFrameLength(uint32_t rate, int version);
