#include "burner/core/playtime/MpegFrame.h"

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
