#include "burner/core/playtime/MpegFrame.h"

#include "base/Bytes.h"

namespace {

// kbit/s by [MPEG-1?][layer - 1][index].
constexpr uint16_t kBitrates[2][3][15] = {
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}}};
constexpr uint32_t kRates[3] = {44100, 48000, 32000};

bool SyncVersionLayer(uint32_t header, uint32_t& version, uint32_t& layerBits) {
    if ((header & 0xFFE00000u) != 0xFFE00000u) return false;
    version = (header >> 19) & 3; // 0: MPEG 2.5, 1: reserved, 2: MPEG 2, 3: MPEG 1
    layerBits = (header >> 17) & 3;
    return version != 1 && layerBits != 0;
}

} // namespace

bool IsFreeFormatHeader(uint32_t header) {
    uint32_t version, layerBits;
    return SyncVersionLayer(header, version, layerBits) && ((header >> 12) & 15) == 0 &&
           ((header >> 10) & 3) != 3;
}

bool ParseMpegFrame(uint32_t header, MpegFrame& frame) {
    uint32_t version, layerBits;
    if (!SyncVersionLayer(header, version, layerBits)) return false;
    uint32_t bitrateIndex = (header >> 12) & 15;
    uint32_t rateIndex = (header >> 10) & 3;
    if (bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return false;

    frame.layer = static_cast<int>(4 - layerBits);
    frame.mpeg1 = version == 3;
    frame.rate = kRates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    frame.mono = ((header >> 6) & 3) == 3;
    uint32_t padding = (header >> 9) & 1;
    uint32_t bitrate = kBitrates[frame.mpeg1 ? 1 : 0][frame.layer - 1][bitrateIndex] * 1000u;
    if (frame.layer == 1) {
        frame.samples = 384;
        frame.size = (12 * bitrate / frame.rate + padding) * 4;
    } else if (frame.layer == 2 || frame.mpeg1) {
        frame.samples = 1152;
        frame.size = 144 * bitrate / frame.rate + padding;
    } else {
        frame.samples = 576;
        frame.size = 72 * bitrate / frame.rate + padding;
    }
    return frame.size >= 4;
}

namespace {

bool ReadXingTag(const uint8_t* w, size_t size, const MpegFrame& frame, XingHeader& xing) {
    size_t at = 4 + (frame.mpeg1 ? (frame.mono ? 17 : 32) : (frame.mono ? 9 : 17));
    if (size < at + 8 || !(Tag(&w[at], "Xing") || Tag(&w[at], "Info"))) return false;
    uint32_t flags = Be32(&w[at + 4]);
    at += 8;
    if (flags & 1) {
        if (size < at + 4) return true;
        xing.frames = Be32(&w[at]);
        at += 4;
    }
    if (flags & 2) {
        if (size < at + 4) return true;
        xing.bytes = Be32(&w[at]);
        at += 4;
    }
    if (flags & 4) at += 100; // seek table
    if (flags & 8) at += 4;   // quality
    // The encoder's version string, then 12 bytes of settings, then the delays.
    if (size < at + 24) return true;
    if (Tag(&w[at], "LAME") || Tag(&w[at], "Lavf") || Tag(&w[at], "Lavc")) {
        uint32_t delays = Be24(&w[at + 21]);
        xing.hasDelays = true;
        xing.startPad = delays >> 12;
        xing.endPad = delays & 0xFFF;
    }
    return true;
}

bool ReadVbriTag(const uint8_t* w, size_t size, XingHeader& xing) {
    constexpr size_t at = 4 + 32;
    if (size < at + 18 || !Tag(&w[at], "VBRI") || ((w[at + 4] << 8) | w[at + 5]) != 1) return false;
    xing.bytes = Be32(&w[at + 10]);
    xing.frames = Be32(&w[at + 14]);
    return true;
}

} // namespace

bool ReadXingHeader(const uint8_t* frame, size_t size, XingHeader& xing) {
    xing = XingHeader();
    MpegFrame header;
    if (size < 4 || !ParseMpegFrame(Be32(frame), header) || header.layer != 3) return false;
    return ReadXingTag(frame, size, header, xing) || ReadVbriTag(frame, size, xing);
}
