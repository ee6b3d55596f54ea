// Length of RIFF/WAVE, RF64 and BW64 files holding PCM or IEEE float samples.
#pragma once

#include "burner/core/playtime/AudioLength.h"
#include "burner/core/playtime/ByteSource.h"

bool LooksLikeWav(const uint8_t* head, size_t size);
AudioLength ReadWavLength(ByteSource& source);
