// A read-ahead window over a byte source for walks that step forward through
// a file (MPEG frames, Ogg pages): one large read serves many small looks.
#pragma once

#include "burner/core/playtime/ByteSource.h"

class SequentialWindow {
public:
    explicit SequentialWindow(ByteSource& source, size_t capacity = 64 * 1024)
        : m_source(source), m_buffer(capacity) {}

    // The count bytes at offset (count at most the capacity), or null when the
    // source ends before them.
    const uint8_t* At(uint64_t offset, size_t count);
    uint64_t Size() const { return m_source.Size(); }

private:
    ByteSource& m_source;
    std::vector<uint8_t> m_buffer;
    uint64_t m_start = 0;
    size_t m_length = 0;
};
