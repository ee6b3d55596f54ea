#include "burner/playtime/FileSource.h"

#include <cstring>

bool FileSource::Open(const wchar_t* path) {
    m_file.Reset(CreateFileW(path, GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_file.Get(), &size)) return false;
    m_size = static_cast<uint64_t>(size.QuadPart);
    return true;
}

namespace {

constexpr size_t kHeadBytes = 8192;

size_t ReadChunk(HANDLE file, uint64_t offset, uint8_t* buffer, DWORD count) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    // A failed read (end of file, a vanished network share) gives what came.
    if (!ReadFile(file, buffer, count, &read, &at)) return 0;
    return read;
}

} // namespace

size_t FileSource::ReadAt(uint64_t offset, void* buffer, size_t count) {
    if (!m_file || offset >= m_size) return 0;
    if (m_head.empty()) {
        m_head.resize(static_cast<size_t>(m_size < kHeadBytes ? m_size : kHeadBytes));
        m_head.resize(ReadFromFile(0, m_head.data(), m_head.size()));
    }
    if (offset + count <= m_head.size()) {
        std::memcpy(buffer, m_head.data() + offset, count);
        return count;
    }
    return ReadFromFile(offset, buffer, count);
}

size_t FileSource::ReadFromFile(uint64_t offset, void* buffer, size_t count) {
    uint8_t* out = static_cast<uint8_t*>(buffer);
    size_t total = 0;
    while (total < count) {
        size_t want = count - total;
        DWORD chunk = want > (1u << 30) ? (1u << 30) : static_cast<DWORD>(want);
        size_t got = ReadChunk(m_file.Get(), offset + total, out + total, chunk);
        if (got == 0) break;
        total += got;
    }
    return total;
}
