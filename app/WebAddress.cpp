#include "app/WebAddress.h"

#include <cstdint>

namespace {

// The host, each byte XORed with a rolling key (see Unscramble).
constexpr uint8_t kScrambledHost[] = {0x22, 0x2f, 0x2c, 0x70, 0x10, 0x11, 0x0e, 0x06,
                                      0x01, 0x1f, 0x07, 0x03, 0x17, 0x19, 0x51, 0xe7,
                                      0xfd, 0xe9, 0xe6, 0xfe, 0xfd, 0xf1};

constexpr uint8_t KeyAt(size_t index) {
    return static_cast<uint8_t>(0x55 + index * 3);
}

std::wstring Unscramble(const uint8_t* data, size_t size) {
    std::wstring text;
    text.reserve(size);
    for (size_t i = 0; i < size; ++i)
        text += static_cast<wchar_t>(static_cast<uint8_t>(data[i] ^ KeyAt(i)));
    return text;
}

} // namespace

std::wstring MakerWebHost() {
    return Unscramble(kScrambledHost, sizeof kScrambledHost);
}

std::wstring MakerWebAddress() {
    return L"https://" + MakerWebHost();
}
