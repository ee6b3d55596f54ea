// One MPEG audio frame header (layers I-III, MPEG 1, 2 and 2.5).
#pragma once

#include <cstddef>
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

// Decoders start their output this many samples late; the encoder delay in
// a LAME tag leaves it out.
constexpr uint64_t kMp3DecoderDelay = 529;

// What a stream's first frame says of the whole when it is a Xing/Info (with
// the encoder's LAME tag) or VBRI header rather than sound.
struct XingHeader {
    uint64_t frames = 0; // frames of sound that follow, 0 when not stated
    uint64_t bytes = 0;  // bytes from this frame on, 0 when not stated
    bool hasDelays = false;
    uint32_t startPad = 0; // the encoder's delay, in samples
    uint32_t endPad = 0;   // its padding of the last frame
};

// frame: the bytes of a layer III stream's first frame, its header included
// (the header and what fits of the frame after it). False when the frame
// holds no such header.
bool ReadXingHeader(const uint8_t* frame, size_t size, XingHeader& xing);
