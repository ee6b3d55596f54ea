#include "burner/core/playtime/AsfCheck.h"

#include "base/Bytes.h"

#include <cstring>

namespace {

const uint8_t kHeaderObject[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                   0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
const uint8_t kDataObject[16] = {0x36, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};

} // namespace

bool AsfIsCutShort(ByteSource& source) {
    uint8_t head[24];
    if (!source.ReadExact(0, head, sizeof head) || std::memcmp(head, kHeaderObject, 16) != 0)
        return false;
    const uint64_t fileSize = source.Size();
    const uint64_t headerSize = Le64(head + 16);
    if (headerSize < 30 || headerSize > fileSize) return true;
    uint8_t data[24];
    if (!source.ReadExact(headerSize, data, sizeof data) || std::memcmp(data, kDataObject, 16) != 0)
        return true;
    return Le64(data + 16) > fileSize - headerSize;
}
