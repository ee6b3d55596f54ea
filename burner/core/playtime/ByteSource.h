// Where the header readers get their bytes: a file, or memory in the tests.
// Readers only ever ask for bounded windows, so a huge file costs no more
// than a small one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads up to count bytes at offset; returns how many it read, fewer only
    // at the end of the source or when reading fails.
    virtual size_t ReadAt(uint64_t offset, void* buffer, size_t count) = 0;

    // The bytes at [offset, offset + count), or fewer at the end.
    std::vector<uint8_t> Window(uint64_t offset, size_t count);
    // True when exactly count bytes could be read.
    bool ReadExact(uint64_t offset, void* buffer, size_t count);
};

// Bytes held in memory; the tests build files this way.
class MemorySource : public ByteSource {
public:
    MemorySource(const void* data, size_t size)
        : m_data(static_cast<const uint8_t*>(data)), m_size(size) {}
    explicit MemorySource(const std::vector<uint8_t>& bytes)
        : MemorySource(bytes.data(), bytes.size()) {}

    uint64_t Size() const override { return m_size; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override;

private:
    const uint8_t* m_data;
    size_t m_size;
};
