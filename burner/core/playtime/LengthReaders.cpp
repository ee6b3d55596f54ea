#include "burner/core/playtime/LengthReaders.h"

#include "base/Bytes.h"
#include "burner/core/playtime/AiffReader.h"
#include "burner/core/playtime/AsfReader.h"
#include "burner/core/playtime/FlacReader.h"
#include "burner/core/playtime/Mp3Reader.h"
#include "burner/core/playtime/OggReader.h"
#include "burner/core/EngineErrors.h"
#include "burner/core/playtime/WavReader.h"

namespace {

// No real codec gets by on fewer bytes per second (silence in Opus with
// discontinuous transmission comes nearest); a header claiming more time
// than that for its file's size is lying.
constexpr uint64_t kLeastBytesPerSecond = 4;

bool IsAdtsHeader(const uint8_t* p) {
    return p[0] == 0xFF && (p[1] & 0xF6) == 0xF0;
}
uint32_t AdtsFrameSize(const uint8_t* p) {
    return ((p[3] & 3u) << 11) | (p[4] << 3) | (p[5] >> 5);
}

// Two AAC frames in a row, the first at offset (after any ID3v2 tags).
bool LooksLikeAdts(ByteSource& source, uint64_t offset) {
    uint8_t first[7];
    if (!source.ReadExact(offset, first, sizeof first) || !IsAdtsHeader(first)) return false;
    uint32_t size = AdtsFrameSize(first);
    uint8_t second[7];
    return size >= 7 && source.ReadExact(offset + size, second, sizeof second) &&
           IsAdtsHeader(second);
}

} // namespace

bool LooksLikeOtherMedia(ByteSource& source) {
    bool tagDamaged = false;
    uint64_t start = SkipId3v2Tags(source, tagDamaged);
    uint8_t h[12] = {};
    if (source.ReadAt(start, h, sizeof h) < 4) return false;
    return Tag(h, "fLaC") || Tag(h + 4, "ftyp") ||
           (Tag(h, "FORM") && (Tag(h + 8, "AIFF") || Tag(h + 8, "AIFC"))) || Tag(h, "caff") ||
           Tag(h, "\x1A\x45\xDF\xA3") || Tag(h, ".snd") || Tag(h, "#!AMR") || Tag(h, "RIFF") ||
           Tag(h, "MAC ") || Tag(h, "wvpk") || Tag(h, "MPCK") || (h[0] == 0x0B && h[1] == 0x77) ||
           LooksLikeAdts(source, start);
}

AudioLength MeasureLength(ByteSource& source) {
    uint8_t head[16] = {};
    size_t got = source.ReadAt(0, head, sizeof head);
    if (LooksLikeWav(head, got)) return ReadWavLength(source);
    if (LooksLikeOgg(head, got)) return ReadOggLength(source);
    if (LooksLikeAsf(head, got)) return ReadAsfLength(source);
    if (LooksLikeAiff(head, got)) return ReadAiffLength(source);
    AudioLength flac = ReadFlacLength(source);
    if (flac.status != LengthStatus::NotThisFormat) return flac;
    if (LooksLikeOtherMedia(source)) return AudioLength::With(LengthStatus::Unsettled);
    return ReadMp3Length(source);
}

int32_t WholeSeconds(uint64_t frames, uint64_t rate, uint64_t fileSize, int32_t* seconds) {
    *seconds = 0;
    if (rate == 0) return ToCode(EngineError::Damaged);
    if (frames == 0) return ToCode(EngineError::NoSound);
    uint64_t whole = frames / rate;
    if (whole > 0x7FFFFFFF || whole > fileSize / kLeastBytesPerSecond + 1)
        return ToCode(EngineError::TooLong);
    *seconds = static_cast<int32_t>(whole);
    return 0;
}
