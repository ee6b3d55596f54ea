// Length of native FLAC files: the total samples of the STREAMINFO block
// (after any ID3v2 tags).
#pragma once

#include "burner/core/playtime/AudioLength.h"
#include "burner/core/playtime/ByteSource.h"

AudioLength ReadFlacLength(ByteSource& source);
