// One MPEG audio frame header (layers I-III, MPEG 1, 2 and 2.5).
#pragma once

#include <cstdint>

struct MpegFrame {
    uint32_t size = 0;    // bytes, header included
    uint32_t samples = 0; // sample frames it decodes to
    uint32_t rate = 0;
    int layer = 0; // 1, 2 or 3
    bool mpeg1 = false;
    bool mono = false;
};

// The fields that stay the same from frame to frame of one stream: sync,
// version, layer and sample rate.
constexpr uint32_t kSameStreamMask = 0xFFFE0C00u;

// False for anything that is not a complete header with a known bit rate
// (free-format frames have no size in their header).
bool ParseMpegFrame(uint32_t header, MpegFrame& frame);
// A sync word with a valid version and layer but a free-format bit rate.
bool IsFreeFormatHeader(uint32_t header);
