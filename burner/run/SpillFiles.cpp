#include "burner/run/SpillFiles.h"

#include "base/FileErrors.h"
#include "burner/image/TempFiles.h"

#include <algorithm>

namespace {

OVERLAPPED At(uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

constexpr size_t kMaxCall = 1 << 24; // bytes per system call

} // namespace

SpillFiles::SpillFiles(const std::wstring& folder) : m_folder(folder) {}

SpillFiles::~SpillFiles() {
    Close();
}

bool SpillFiles::Fail(const std::wstring& what, DWORD error) {
    m_error = what + L" in \"" + m_folder + L"\" failed: " + FileErrorReason(error);
    return false;
}

bool SpillFiles::Append(size_t track, const int16_t* samples, size_t count) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const wchar_t* what = L"Keeping decoded audio aside";
    if (m_closed) return Fail(what, ERROR_OPERATION_ABORTED);
    File& file = m_files[track];
    if (file.handle == INVALID_HANDLE_VALUE) {
        if (!CreateTempFile(m_folder, file.path)) {
            DWORD error = GetLastError();
            m_files.erase(track);
            return Fail(what, error);
        }
        file.handle = CreateFileW(file.path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  TRUNCATE_EXISTING, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file.handle == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            Remove(file);
            m_files.erase(track);
            return Fail(what, error);
        }
    }
    const char* data = reinterpret_cast<const char*>(samples);
    size_t bytes = count * sizeof(int16_t);
    while (bytes > 0) {
        OVERLAPPED at = At(file.written);
        DWORD written = 0;
        if (!WriteFile(file.handle, data, static_cast<DWORD>(std::min(bytes, kMaxCall)), &written,
                       &at))
            return Fail(what, GetLastError());
        if (written == 0) return Fail(what, ERROR_DISK_FULL);
        file.written += written;
        data += written;
        bytes -= written;
    }
    return true;
}

bool SpillFiles::Read(size_t track, int16_t* samples, size_t count) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const wchar_t* what = L"Reading back decoded audio";
    auto found = m_files.find(track);
    size_t bytes = count * sizeof(int16_t);
    if (found == m_files.end() || found->second.handle == INVALID_HANDLE_VALUE ||
        found->second.read + bytes > found->second.written)
        return Fail(what, ERROR_HANDLE_EOF);
    File& file = found->second;
    char* data = reinterpret_cast<char*>(samples);
    while (bytes > 0) {
        OVERLAPPED at = At(file.read);
        DWORD read = 0;
        if (!ReadFile(file.handle, data, static_cast<DWORD>(std::min(bytes, kMaxCall)), &read, &at))
            return Fail(what, GetLastError());
        if (read == 0) return Fail(what, ERROR_HANDLE_EOF);
        file.read += read;
        data += read;
        bytes -= read;
    }
    return true;
}

void SpillFiles::Remove(File& file) {
    if (file.handle != INVALID_HANDLE_VALUE) CloseHandle(file.handle);
    file.handle = INVALID_HANDLE_VALUE;
    if (file.path.empty()) return;
    // A delete that fails (the folder's drive is gone) leaves the file to the
    // next clean-up of its folder.
    DeleteFileW(file.path.c_str());
    ReleaseTempFile(file.path);
    file.path.clear();
}

void SpillFiles::Discard(size_t track) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_files.find(track);
    if (found == m_files.end()) return;
    Remove(found->second);
    m_files.erase(found);
}

void SpillFiles::Close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    for (auto& entry : m_files)
        Remove(entry.second);
    m_files.clear();
}

std::wstring SpillFiles::Error() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_error;
}
