// What the fuzz targets share: a check that stops the run with a message
// (libFuzzer keeps the input that broke it), byte sources that behave like
// files gone wrong, and text built the way Windows holds it.
#pragma once

#include "burner/core/playtime/AudioLength.h"
#include "burner/core/playtime/ByteSource.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

// A file that says it is larger than the bytes it gives: a read past what it
// holds comes back short, as from a file cut while it is read or a failing disk.
class ShortReadSource : public ByteSource {
public:
    ShortReadSource(const uint8_t* data, size_t size, uint64_t claimedSize)
        : m_memory(data, size), m_claimedSize(claimedSize) {}
    uint64_t Size() const override { return m_claimedSize; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override {
        return m_memory.ReadAt(offset, buffer, count);
    }

private:
    MemorySource m_memory;
    uint64_t m_claimedSize;
};

// Runs a reader over the bytes as a whole file and as a file that fails to
// give all it claims; both answers go to check, with the size the file claims.
template <typename Read, typename Check>
void ReadEveryWay(const uint8_t* data, size_t size, Read read, Check check) {
    MemorySource whole(data, size);
    check(read(whole), static_cast<uint64_t>(size));
    ShortReadSource failing(data, size, uint64_t{size} * 2 + 4096);
    check(read(failing), failing.Size());
}

// UTF-16 code units from pairs of bytes, as a Windows wchar_t string holds
// them (wchar_t is wider here, the values stay within 16 bits).
inline std::wstring Utf16Units(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    return text;
}

inline bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
inline bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// True when every surrogate is half of a pair.
inline bool IsWellFormedUtf16(const std::wstring& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i])) {
            if (i + 1 == text.size() || !IsLowSurrogate(text[i + 1])) return false;
            ++i;
        } else if (IsLowSurrogate(text[i])) {
            return false;
        }
    }
    return true;
}

// True when the bytes are whole, shortest-form UTF-8 sequences.
inline bool IsWellFormedUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = c < 0x80         ? 1
                        : (c >> 5) == 6  ? 2
                        : (c >> 4) == 14 ? 3
                        : (c >> 3) == 30 ? 4
                                         : 0;
        if (length == 0 || i + length > text.size()) return false;
        uint32_t code = length == 1 ? c : c & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        static const uint32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace fuzz
