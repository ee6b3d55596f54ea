#include "burner/run/AsfCheck.h"

#include <windows.h>

#include <cstring>

namespace {

const uint8_t kHeaderObject[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                   0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
const uint8_t kDataObject[16] = {0x36, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};

uint64_t Little64(const uint8_t* bytes) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

} // namespace

bool AsfIsCutShort(const uint8_t* head, size_t headLength, const uint8_t* dataHead,
                   size_t dataHeadLength, uint64_t fileSize) {
    if (headLength < 24 || std::memcmp(head, kHeaderObject, 16) != 0) return false;
    uint64_t headerSize = Little64(head + 16);
    if (headerSize < 30 || headerSize > fileSize) return true;
    if (dataHeadLength < 24 || std::memcmp(dataHead, kDataObject, 16) != 0) return true;
    uint64_t dataSize = Little64(dataHead + 16);
    return dataSize > fileSize - headerSize;
}

bool AsfFileIsCutShort(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false; // the decoder says why
    uint8_t head[30] = {};
    uint8_t dataHead[24] = {};
    DWORD headLength = 0;
    DWORD dataLength = 0;
    LARGE_INTEGER size{};
    bool cut = false;
    if (GetFileSizeEx(file, &size) && ReadFile(file, head, sizeof head, &headLength, nullptr) &&
        headLength >= 24 && std::memcmp(head, kHeaderObject, 16) == 0) {
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(Little64(head + 16));
        if (position.QuadPart > 0 && position.QuadPart <= size.QuadPart &&
            SetFilePointerEx(file, position, nullptr, FILE_BEGIN))
            ReadFile(file, dataHead, sizeof dataHead, &dataLength,
                     nullptr); // short reads count below
        cut = AsfIsCutShort(head, headLength, dataHead, dataLength,
                            static_cast<uint64_t>(size.QuadPart));
    }
    CloseHandle(file);
    return cut;
}
