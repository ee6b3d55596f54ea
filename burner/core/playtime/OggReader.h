// Length of Ogg Vorbis and Ogg Opus files (the file's first stream): the
// granule position of the stream's last page, less Opus's pre-skip. Opus
// always counts at 48 kHz.
#pragma once

#include "burner/core/playtime/AudioLength.h"
#include "burner/core/playtime/ByteSource.h"

bool LooksLikeOgg(const uint8_t* head, size_t size);
AudioLength ReadOggLength(ByteSource& source);

// The page checksum (CRC-32, polynomial 0x04C11DB7, not reflected), taken
// with the page's own checksum field set to zero.
uint32_t OggChecksum(const uint8_t* page, size_t size);
