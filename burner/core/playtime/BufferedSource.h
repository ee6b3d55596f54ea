// A byte source read through a window of its own: decoders ask for a few
// bytes at a time, in order, and each read of the underlying file costs a
// system call (under Wine, more). Seeks within the window cost nothing.
#pragma once

#include "burner/core/playtime/ByteSource.h"

#include <vector>

class BufferedSource : public ByteSource {
public:
    explicit BufferedSource(ByteSource& source, size_t capacity = 256 * 1024)
        : m_source(source), m_buffer(capacity) {}

    uint64_t Size() const override { return m_source.Size(); }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override;

private:
    ByteSource& m_source;
    std::vector<uint8_t> m_buffer;
    uint64_t m_start = 0;
    size_t m_length = 0;
};
