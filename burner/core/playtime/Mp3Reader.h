// Length of MPEG audio files (MP3 and its layer I/II kin): ID3v2 tags are
// skipped, a Xing/Info (with the LAME encoder delay and padding) or VBRI
// header is taken when present, otherwise the frames are counted.
#pragma once

#include "burner/core/playtime/AudioLength.h"
#include "burner/core/playtime/ByteSource.h"

AudioLength ReadMp3Length(ByteSource& source);

// Where the audio starts after any ID3v2 tags at offset 0; damaged is set when
// a tag claims more bytes than the file holds.
uint64_t SkipId3v2Tags(ByteSource& source, bool& damaged);

// A run of MPEG audio frames (or a free-format frame) within the junk a
// decoder skips, from start on.
bool LooksLikeMpegAudio(ByteSource& source, uint64_t start);
