#include "burner/core/playtime/AsfReader.h"

#include "base/Bytes.h"

namespace {

// GUIDs as they lie in the file.
constexpr uint8_t kHeaderObject[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                       0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr uint8_t kFileProperties[16] = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                         0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr uint8_t kStreamProperties[16] = {0x91, 0x07, 0xDC, 0xB7, 0xB7, 0xA9, 0xCF, 0x11,
                                           0x8E, 0xE6, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
constexpr uint8_t kAudioMedia[16] = {0x40, 0x9E, 0x69, 0xF8, 0x4D, 0x5B, 0xCF, 0x11,
                                     0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B};

constexpr uint32_t kMaxObjects = 1024;
constexpr uint64_t kHundredNs = 10000000;
constexpr uint32_t kBroadcast = 1; // durations not known when written

bool Same(const uint8_t* a, const uint8_t* b) {
    return std::memcmp(a, b, 16) == 0;
}

struct AsfFacts {
    bool haveProperties = false;
    uint64_t playDuration = 0; // 100 ns
    uint64_t preroll = 0;      // ms
    uint32_t flags = 0;
    bool haveAudio = false;
    uint16_t formatTag = 0;
    uint32_t rate = 0;
};

void ReadObject(ByteSource& source, uint64_t offset, const uint8_t* id, uint64_t size,
                AsfFacts& facts) {
    if (Same(id, kFileProperties) && size >= 104) {
        uint8_t p[104];
        if (!source.ReadExact(offset, p, sizeof p)) return;
        facts.haveProperties = true;
        facts.playDuration = Le64(p + 64);
        facts.preroll = Le64(p + 80);
        facts.flags = Le32(p + 88);
    } else if (Same(id, kStreamProperties) && size >= 78 + 8 && !facts.haveAudio) {
        uint8_t p[78 + 8];
        if (!source.ReadExact(offset, p, sizeof p) || !Same(p + 24, kAudioMedia)) return;
        facts.haveAudio = true;
        facts.formatTag = Le16(p + 78);
        facts.rate = Le32(p + 82);
    }
}

} // namespace

uint32_t WmaFrameLength(uint32_t rate, int version) {
    if (rate <= 16000) return 512;
    if (rate <= 22050 || (rate <= 32000 && version == 1)) return 1024;
    return 2048;
}

bool LooksLikeAsf(const uint8_t* head, size_t size) {
    return size >= 16 && Same(head, kHeaderObject);
}

AudioLength ReadAsfLength(ByteSource& source) {
    uint8_t header[30];
    if (!source.ReadExact(0, header, sizeof header))
        return AudioLength::With(source.Size() >= 16 && source.ReadExact(0, header, 16) &&
                                         LooksLikeAsf(header, 16)
                                     ? LengthStatus::Damaged
                                     : LengthStatus::NotThisFormat);
    if (!LooksLikeAsf(header, sizeof header)) return AudioLength::With(LengthStatus::NotThisFormat);
    uint64_t headerEnd = Le64(header + 16);
    uint32_t objects = Le32(header + 24);
    if (headerEnd > source.Size()) headerEnd = source.Size();

    AsfFacts facts;
    uint64_t offset = sizeof header;
    for (uint32_t i = 0; i < objects && i < kMaxObjects && offset + 24 <= headerEnd; ++i) {
        uint8_t object[24];
        if (!source.ReadExact(offset, object, sizeof object)) break;
        uint64_t size = Le64(object + 16);
        if (size < 24 || size > headerEnd - offset) break;
        ReadObject(source, offset, object, size, facts);
        offset += size;
    }

    if (!facts.haveProperties) return AudioLength::With(LengthStatus::Damaged);
    if (!facts.haveAudio || facts.rate == 0 || (facts.flags & kBroadcast) != 0)
        return AudioLength::With(LengthStatus::Unsettled);
    if (facts.preroll > ~0ull / 10000 || facts.playDuration < facts.preroll * 10000)
        return AudioLength::With(LengthStatus::Damaged);
    uint64_t ticks = facts.playDuration - facts.preroll * 10000;
    // A duration beyond 2^32 seconds is nonsense; stopping there keeps the
    // sample arithmetic below within 64 bits.
    if (ticks / kHundredNs > 0xFFFFFFFFull) return AudioLength::With(LengthStatus::Damaged);
    uint64_t samples = ticks / kHundredNs * facts.rate +
                       ((ticks % kHundredNs) * facts.rate + kHundredNs / 2) / kHundredNs;

    int version = facts.formatTag == 0x160 ? 1 : facts.formatTag == 0x161 ? 2 : 0;
    if (version != 0) {
        // The duration is stated in whole milliseconds of whole frames; snap
        // back onto the frame grid before leaving out the held-back frame.
        uint64_t frame = WmaFrameLength(facts.rate, version);
        uint64_t frames = (samples + frame / 2) / frame;
        uint64_t snapped = frames * frame;
        uint64_t slack = facts.rate / 1000 + 1;
        if (snapped + slack >= samples && samples + slack >= snapped) samples = snapped;
        samples = samples > frame ? samples - frame : 0;
    }
    return AudioLength::Of(samples, facts.rate);
}
