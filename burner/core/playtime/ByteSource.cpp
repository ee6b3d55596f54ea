#include "burner/core/playtime/ByteSource.h"

#include <cstring>

std::vector<uint8_t> ByteSource::Window(uint64_t offset, size_t count) {
    // An empty vector has no buffer, and the sources' copies want one even
    // for no bytes (an empty chunk asks for just that).
    if (count == 0) return {};
    std::vector<uint8_t> bytes(count);
    bytes.resize(ReadAt(offset, bytes.data(), count));
    return bytes;
}

bool ByteSource::ReadExact(uint64_t offset, void* buffer, size_t count) {
    return ReadAt(offset, buffer, count) == count;
}

size_t MemorySource::ReadAt(uint64_t offset, void* buffer, size_t count) {
    if (offset >= m_size) return 0;
    size_t available = static_cast<size_t>(m_size - offset);
    size_t length = count < available ? count : available;
    std::memcpy(buffer, m_data + offset, length);
    return length;
}
