#include "burner/core/playtime/WavReader.h"

#include "base/Bytes.h"

namespace {

constexpr int kMaxChunks = 4096; // bounds the walk over a hostile chunk list
constexpr uint16_t kPcm = 1;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kExtensible = 0xFFFE;
// The tail every KSDATAFORMAT_SUBTYPE_* GUID shares after its format tag.
constexpr uint8_t kSubtypeTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct Format {
    bool present = false;
    bool usable = false;
    uint32_t rate = 0;
    uint16_t blockAlign = 0;
};

Format ParseFormat(const std::vector<uint8_t>& fmt) {
    Format format;
    if (fmt.size() < 16) return format; // too short to be a format: as if missing
    uint16_t tag = Le16(&fmt[0]);
    uint16_t channels = Le16(&fmt[2]);
    uint32_t rate = Le32(&fmt[4]);
    uint16_t blockAlign = Le16(&fmt[12]);
    uint16_t bits = Le16(&fmt[14]);
    if (channels == 0 || rate == 0 || blockAlign == 0) return format;
    format.present = true;
    if (tag == kExtensible) {
        if (fmt.size() < 40 || std::memcmp(&fmt[26], kSubtypeTail, sizeof kSubtypeTail) != 0)
            return format;
        tag = Le16(&fmt[24]);
    }
    bool pcm = tag == kPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    bool real = tag == kFloat && (bits == 32 || bits == 64);
    if (!pcm && !real) return format;
    if (rate > 1536000) return format;
    // Other block sizes mean a layout the decoder would not read as plain frames.
    if (blockAlign != static_cast<uint32_t>(channels) * (bits / 8)) return format;
    format.usable = true;
    format.rate = rate;
    format.blockAlign = blockAlign;
    return format;
}

} // namespace

bool LooksLikeWav(const uint8_t* head, size_t size) {
    return size >= 12 && (Tag(head, "RIFF") || Tag(head, "RF64") || Tag(head, "BW64")) &&
           Tag(head + 8, "WAVE");
}

AudioLength ReadWavLength(ByteSource& source) {
    uint8_t head[12];
    if (!source.ReadExact(0, head, sizeof head))
        return AudioLength::With(source.Size() >= 4 && source.ReadAt(0, head, 4) == 4 &&
                                         (Tag(head, "RIFF") || Tag(head, "RF64"))
                                     ? LengthStatus::Damaged
                                     : LengthStatus::NotThisFormat);
    if (!LooksLikeWav(head, sizeof head)) return AudioLength::With(LengthStatus::NotThisFormat);
    bool sizesInDs64 = !Tag(head, "RIFF");

    const uint64_t fileSize = source.Size();
    Format format;
    uint64_t ds64DataSize = 0;
    bool haveData = false;
    uint64_t dataStart = 0;
    uint64_t dataEnd = 0;

    uint64_t offset = 12;
    for (int chunk = 0; chunk < kMaxChunks && offset + 8 <= fileSize; ++chunk) {
        uint8_t header[8];
        if (!source.ReadExact(offset, header, sizeof header)) break;
        uint32_t size = Le32(header + 4);
        uint64_t body = offset + 8;
        if (Tag(header, "ds64") && size >= 24) {
            uint8_t sizes[24];
            if (!source.ReadExact(body, sizes, sizeof sizes)) break;
            ds64DataSize = Le64(sizes + 8);
        } else if (Tag(header, "fmt ")) {
            format = ParseFormat(source.Window(body, size < 64 ? size : 64));
        } else if (Tag(header, "data")) {
            haveData = true;
            dataStart = body;
            if (sizesInDs64)
                dataEnd = ds64DataSize < fileSize - body ? body + ds64DataSize : fileSize;
            else if (size == 0 || size == 0xFFFFFFFFu)
                dataEnd = fileSize; // a stream's writer could not go back to fill it in
            else
                dataEnd = body + size < fileSize ? body + size : fileSize;
            if (format.present || dataEnd >= fileSize) break;
        }
        // Chunks are padded to even sizes.
        offset = body + size + (size & 1);
    }

    if (!haveData || !format.present) return AudioLength::With(LengthStatus::Damaged);
    if (!format.usable) return AudioLength::With(LengthStatus::Unsettled);
    // A partial frame at the end is not decoded.
    return AudioLength::Of((dataEnd - dataStart) / format.blockAlign, format.rate);
}
