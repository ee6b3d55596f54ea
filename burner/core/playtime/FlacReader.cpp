#include "burner/core/playtime/FlacReader.h"

#include "base/Bytes.h"
#include "burner/core/playtime/Mp3Reader.h"

AudioLength ReadFlacLength(ByteSource& source) {
    bool tagDamaged = false;
    uint64_t start = SkipId3v2Tags(source, tagDamaged);
    // "fLaC", then the first metadata block, which must be STREAMINFO.
    uint8_t h[4 + 4 + 34];
    if (!source.ReadExact(start, h, 4) || !Tag(h, "fLaC"))
        return AudioLength::With(LengthStatus::NotThisFormat);
    if (tagDamaged || !source.ReadExact(start, h, sizeof h))
        return AudioLength::With(LengthStatus::Damaged);
    const uint8_t* block = h + 4;
    const uint32_t length = Be24(block + 1);
    if ((block[0] & 0x7F) != 0 || length < 34) return AudioLength::With(LengthStatus::Damaged);
    const uint8_t* info = block + 4;
    const uint32_t rate = (Be24(info + 10) >> 4) & 0xFFFFF;
    const uint64_t total = (static_cast<uint64_t>(info[13] & 0x0F) << 32) | Be32(info + 14);
    if (rate == 0) return AudioLength::With(LengthStatus::Damaged);
    // An encoder that could not go back to write the count leaves it 0.
    if (total == 0) return AudioLength::With(LengthStatus::Unsettled);
    return AudioLength::Of(total, rate);
}
