#include "burner/core/audio/Mp3Gapless.h"

#include "burner/core/playtime/Mp3Reader.h"
#include "burner/core/playtime/MpegFrame.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint64_t kDecoderDelay = 529;

uint32_t Be32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

bool Tag(const uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

} // namespace

bool ParseGaplessInfo(const uint8_t* frame, size_t size, GaplessTrim& trim) {
    if (size < 4) return false;
    MpegFrame header;
    if (!ParseMpegFrame(Be32(frame), header) || header.layer != 3) return false;
    size_t at = 4 + (header.mpeg1 ? (header.mono ? 17 : 32) : (header.mono ? 9 : 17));
    if (size < at + 8 || !(Tag(frame + at, "Xing") || Tag(frame + at, "Info"))) return false;
    uint32_t flags = Be32(frame + at + 4);
    at += 8;
    if (!(flags & 1)) return false; // no frame count: the end cannot be placed
    if (size < at + 4) return false;
    uint64_t frames = Be32(frame + at);
    at += 4;
    if (flags & 2) at += 4;   // byte count
    if (flags & 4) at += 100; // seek table
    if (flags & 8) at += 4;   // quality
    if (size < at + 24) return false;
    if (!(Tag(frame + at, "LAME") || Tag(frame + at, "Lavf") || Tag(frame + at, "Lavc")))
        return false;
    uint32_t delays = static_cast<uint32_t>(frame[at + 21]) << 16 |
                      static_cast<uint32_t>(frame[at + 22]) << 8 | frame[at + 23];
    uint64_t start = delays >> 12;
    uint64_t end = delays & 0xFFF;
    trim.untrimmed = frames * header.samples;
    if (trim.untrimmed < start + end) return false;
    trim.skip = start + kDecoderDelay;
    trim.keep = trim.untrimmed - start - end;
    return true;
}

bool ReadMp3Gapless(ByteSource& source, GaplessTrim& trim) {
    bool damaged = false;
    uint64_t start = SkipId3v2Tags(source, damaged);
    if (damaged) return false;
    std::vector<uint8_t> frame(2048);
    size_t got = source.ReadAt(start, frame.data(), frame.size());
    return ParseGaplessInfo(frame.data(), got, trim);
}
