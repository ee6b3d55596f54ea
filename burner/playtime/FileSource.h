// A file opened for reading as a byte source. Others may keep writing or
// deleting it meanwhile; positioned reads keep no shared file pointer.
#pragma once

#include "burner/core/playtime/ByteSource.h"
#include "base/Handles.h"

#include <windows.h>

#include <vector>

class FileSource : public ByteSource {
public:
    FileSource() = default;

    // False when the file cannot be opened; GetLastError tells why.
    bool Open(const wchar_t* path);

    uint64_t Size() const override { return m_size; }
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) override;

private:
    size_t ReadFromFile(uint64_t offset, void* buffer, size_t count);

    UniqueFileHandle m_file;
    uint64_t m_size = 0;
    // The file's first bytes, read once: the readers look there many times
    // in small pieces, and each read costs a system call.
    std::vector<uint8_t> m_head;
};
