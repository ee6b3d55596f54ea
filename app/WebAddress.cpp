#include "app/WebAddress.h"

#include <cstdint>

namespace {

// The host, each byte XORed with a rolling key (see Unscramble).
constexpr uint8_t kScrambledHost[] = {0x24, 0x2d, 0x32, 0x32, 0x0d, 0x0b, 0x13, 0x1f, 0x03,
                                      0x15, 0x5d, 0x13, 0x01, 0x1d, 0x12, 0xf2, 0xe9, 0xed};

constexpr uint8_t KeyAt(size_t index) { return static_cast<uint8_t>(0x55 + index * 3); }

std::wstring Unscramble(const uint8_t* data, size_t size) {
    std::wstring text;
    text.reserve(size);
    for (size_t i = 0; i < size; ++i)
        text += static_cast<wchar_t>(static_cast<uint8_t>(data[i] ^ KeyAt(i)));
    return text;
}

} // namespace

std::wstring MakerWebHost() { return Unscramble(kScrambledHost, sizeof kScrambledHost); }

std::wstring MakerWebAddress() { return L"https://" + MakerWebHost(); }
