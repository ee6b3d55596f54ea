#include "burner/core/playtime/AiffReader.h"

#include "base/Bytes.h"

#include <cmath>

namespace {

constexpr int kMaxChunks = 4096; // bounds the walk over a hostile chunk list

uint16_t Be16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

// Compression types whose data is plain sample frames of sampleSize bits.
bool IsPlainSamples(const uint8_t* type) {
    for (const char* plain : {"NONE", "sowt", "twos", "raw ", "in24", "in32"})
        if (Tag(type, plain)) return true;
    return false;
}
int FloatBits(const uint8_t* type) {
    if (Tag(type, "fl32") || Tag(type, "FL32")) return 32;
    if (Tag(type, "fl64") || Tag(type, "FL64")) return 64;
    return 0;
}

} // namespace

bool LooksLikeAiff(const uint8_t* head, size_t size) {
    return size >= 12 && Tag(head, "FORM") && (Tag(head + 8, "AIFF") || Tag(head + 8, "AIFC"));
}

uint32_t ExtendedToRate(const uint8_t* bytes) {
    const int exponent = ((bytes[0] & 0x7F) << 8) | bytes[1];
    uint64_t mantissa = 0;
    for (int i = 2; i < 10; ++i)
        mantissa = mantissa << 8 | bytes[i];
    if ((bytes[0] & 0x80) || mantissa == 0) return 0;
    double value = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
    if (!(value >= 1.0 && value <= 4.0e6)) return 0;
    return static_cast<uint32_t>(std::lround(value));
}

AudioLength ReadAiffLength(ByteSource& source) {
    uint8_t head[12];
    if (!source.ReadExact(0, head, sizeof head) || !LooksLikeAiff(head, sizeof head))
        return AudioLength::With(LengthStatus::NotThisFormat);
    const bool compressed = Tag(head + 8, "AIFC");
    const uint64_t fileSize = source.Size();
    bool haveComm = false;
    bool plain = true;
    uint64_t frames = 0;
    uint32_t rate = 0;
    uint32_t frameBytes = 0;
    bool haveData = false;
    uint64_t dataBytes = 0;
    uint64_t offset = 12;
    for (int chunk = 0; chunk < kMaxChunks && offset + 8 <= fileSize; ++chunk) {
        uint8_t header[8];
        if (!source.ReadExact(offset, header, sizeof header)) break;
        const uint32_t size = Be32(header + 4);
        const uint64_t body = offset + 8;
        if (Tag(header, "COMM")) {
            uint8_t comm[22] = {};
            if (size < 18 || !source.ReadExact(body, comm, size < 22 ? 18 : 22))
                return AudioLength::With(LengthStatus::Damaged);
            const uint16_t channels = Be16(comm);
            frames = Be32(comm + 2);
            uint32_t bits = Be16(comm + 6);
            rate = ExtendedToRate(comm + 8);
            if (compressed) {
                if (size < 22) return AudioLength::With(LengthStatus::Damaged);
                int floatBits = FloatBits(comm + 18);
                plain = IsPlainSamples(comm + 18) || floatBits != 0;
                if (floatBits != 0) bits = floatBits;
            }
            if (channels == 0 || rate == 0 || bits == 0)
                return AudioLength::With(LengthStatus::Damaged);
            frameBytes = channels * ((bits + 7) / 8);
            haveComm = true;
        } else if (Tag(header, "SSND") && size >= 8) {
            uint8_t ssnd[8];
            if (!source.ReadExact(body, ssnd, sizeof ssnd)) break;
            const uint64_t start = body + 8 + Be32(ssnd);
            const uint64_t end = body + size < fileSize ? body + size : fileSize;
            haveData = true;
            dataBytes = end > start ? end - start : 0;
        }
        // Chunks are padded to even sizes.
        offset = body + size + (size & 1);
    }
    if (!haveComm || !haveData) return AudioLength::With(LengthStatus::Damaged);
    if (!plain) return AudioLength::With(LengthStatus::Unsettled);
    // A file cut short holds fewer frames than its header says.
    const uint64_t held = dataBytes / frameBytes;
    return AudioLength::Of(frames < held ? frames : held, rate);
}
