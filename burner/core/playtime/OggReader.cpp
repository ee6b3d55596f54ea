#include "burner/core/playtime/OggReader.h"

#include "base/Bytes.h"

#include <algorithm>
#include <array>

namespace {

constexpr size_t kPageHeader = 27;
constexpr size_t kMaxPage = kPageHeader + 255 + 255 * 255;
constexpr uint64_t kFirstTailStep = 16 * 1024; // the last page is nearly always in here
constexpr uint64_t kLargestTailStep = 256 * 1024;
constexpr uint64_t kMaxTailSearch = 1024 * 1024; // other streams' pages at the end
constexpr uint64_t kNoGranule = ~0ull;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t r = i << 24;
        for (int bit = 0; bit < 8; ++bit)
            r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
        table[i] = r;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

struct Page {
    uint8_t type = 0;
    uint64_t granule = 0;
    uint32_t serial = 0;
    size_t headerSize = 0;
    size_t bodySize = 0;
};

// Parses a page header from the bytes at p (n of them); false when they do
// not hold a whole header.
bool ParsePageHeader(const uint8_t* p, size_t n, Page& page) {
    if (n < kPageHeader || !Tag(p, "OggS") || p[4] != 0) return false;
    page.type = p[5];
    page.granule = Le64(p + 6);
    page.serial = Le32(p + 14);
    size_t segments = p[26];
    page.headerSize = kPageHeader + segments;
    if (n < page.headerSize) return false;
    page.bodySize = 0;
    for (size_t i = 0; i < segments; ++i)
        page.bodySize += p[kPageHeader + i];
    return true;
}

struct AudioStream {
    bool found = false;
    bool opus = false;
    uint32_t serial = 0;
    uint32_t rate = 0;
    uint16_t preSkip = 0;
};

// The file's first stream, the one decoders read, when it is Vorbis or Opus.
// Another kind first (a Skeleton, video, Speex...) leaves the file to be
// told apart by what decodes it, even when audio follows: a play time here
// would promise a burn that nothing decodes.
AudioStream FirstAudioStream(ByteSource& source, bool& otherStream) {
    AudioStream stream;
    std::vector<uint8_t> head = source.Window(0, kPageHeader + 255 + 32);
    Page page;
    if (!ParsePageHeader(head.data(), head.size(), page) || (page.type & 2) == 0) return stream;
    const uint8_t* packet = head.data() + page.headerSize;
    size_t available = head.size() - page.headerSize;
    // A header cut before its rate leaves the rate 0: damaged, not foreign.
    if (available >= 7 && packet[0] == 1 && Tag(packet + 1, "vorbis")) {
        stream = {true, false, page.serial, available >= 16 ? Le32(packet + 12) : 0, 0};
    } else if (available >= 8 && Tag(packet, "OpusHead")) {
        bool whole = available >= 12;
        stream = {true, true, page.serial, whole ? 48000u : 0u,
                  whole ? Le16(packet + 10) : uint16_t{0}};
    } else {
        otherStream = true;
    }
    return stream;
}

// The granule position of the stream's last whole page, searching back from
// the end over a bounded span.
uint64_t LastGranule(ByteSource& source, uint32_t serial) {
    const uint64_t size = source.Size();
    uint64_t limit = size; // pages starting at or after this were looked at
    uint64_t step = kFirstTailStep;
    while (limit > 0 && size - limit < kMaxTailSearch) {
        uint64_t start = limit > step ? limit - step : 0;
        step = std::min(step * 4, kLargestTailStep);
        uint64_t end = std::min(size, limit + kMaxPage);
        std::vector<uint8_t> w = source.Window(start, static_cast<size_t>(end - start));
        size_t top = std::min(w.size(), static_cast<size_t>(limit - start));
        for (size_t i = top; i-- > 0;) {
            if (w[i] != 'O') continue;
            Page page;
            if (!ParsePageHeader(&w[i], w.size() - i, page) || page.serial != serial ||
                page.granule == kNoGranule)
                continue;
            size_t pageSize = page.headerSize + page.bodySize;
            if (w.size() - i < pageSize) continue; // cut short
            std::array<uint8_t, 4> stored;
            std::copy(&w[i + 22], &w[i + 26], stored.begin());
            if (OggChecksum(&w[i], pageSize) != Le32(stored.data())) continue;
            return page.granule;
        }
        limit = start;
    }
    return kNoGranule;
}

} // namespace

uint32_t OggChecksum(const uint8_t* page, size_t size) {
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i) {
        uint8_t byte = (i >= 22 && i < 26) ? 0 : page[i];
        crc = (crc << 8) ^ kCrcTable[((crc >> 24) ^ byte) & 0xFF];
    }
    return crc;
}

bool LooksLikeOgg(const uint8_t* head, size_t size) {
    return size >= 4 && Tag(head, "OggS");
}

AudioLength ReadOggLength(ByteSource& source) {
    uint8_t head[4];
    if (!source.ReadExact(0, head, sizeof head) || !LooksLikeOgg(head, sizeof head))
        return AudioLength::With(LengthStatus::NotThisFormat);
    bool otherStream = false;
    AudioStream stream = FirstAudioStream(source, otherStream);
    if (!stream.found)
        return AudioLength::With(otherStream ? LengthStatus::Unsettled : LengthStatus::Damaged);
    if (stream.rate == 0) return AudioLength::With(LengthStatus::Damaged);

    uint64_t granule = LastGranule(source, stream.serial);
    if (granule == kNoGranule) return AudioLength::With(LengthStatus::Damaged);
    if (stream.opus) granule = granule > stream.preSkip ? granule - stream.preSkip : 0;
    return AudioLength::Of(granule, stream.rate);
}
