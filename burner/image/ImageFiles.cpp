#include "burner/image/ImageFiles.h"

#include "burner/core/image/CueSheet.h"
#include "burner/core/image/ImageNaming.h"
#include "burner/image/TempFiles.h"
#include "base/FileErrors.h"
#include "base/Text.h"

#include <cstring>

namespace {

constexpr size_t kBufferBytes = 1 << 20;

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring FileName(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool TempName(const std::wstring& folder, std::wstring& name) {
    return CreateTempFile(folder, name);
}

} // namespace

ImageFiles::ImageFiles(const std::wstring& folder) : m_folder(folder) {}

ImageFiles::~ImageFiles() {
    Discard();
}

bool ImageFiles::Fail(const std::wstring& what, DWORD error) {
    m_error = what + L" in \"" + m_folder + L"\" failed: " + FileErrorReason(error);
    return false;
}

bool ImageFiles::Create() {
    if (!TempName(m_folder, m_binTemp)) return Fail(L"Creating the disc image", GetLastError());
    m_file = CreateFileW(m_binTemp.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) return Fail(L"Creating the disc image", GetLastError());
    m_buffer.resize(kBufferBytes);
    return true;
}

bool ImageFiles::Write(const void* data, size_t bytes) {
    const char* source = static_cast<const char*>(data);
    while (bytes > 0) {
        if (m_used == m_buffer.size() && !Flush()) return false;
        size_t part = bytes < m_buffer.size() - m_used ? bytes : m_buffer.size() - m_used;
        std::memcpy(m_buffer.data() + m_used, source, part);
        m_used += part;
        source += part;
        bytes -= part;
    }
    return true;
}

bool ImageFiles::Flush() {
    if (m_file == INVALID_HANDLE_VALUE) {
        m_error = L"The disc image is not open for writing.";
        return false;
    }
    size_t done = 0;
    while (done < m_used) {
        DWORD written = 0;
        if (!WriteFile(m_file, m_buffer.data() + done, static_cast<DWORD>(m_used - done), &written,
                       nullptr))
            return Fail(L"Writing the disc image", GetLastError());
        if (written == 0) return Fail(L"Writing the disc image", ERROR_DISK_FULL);
        done += written;
    }
    m_used = 0;
    return true;
}

bool ImageFiles::CloseData() {
    if (!Flush()) return false;
    HANDLE file = m_file;
    m_file = INVALID_HANDLE_VALUE;
    // On the disk before it takes its final name, so a crash or a power cut
    // can never leave a finished-looking image with parts missing. Data the
    // system's cache still held may be refused only now (a full network
    // drive, say); flushing and closing say so.
    DWORD error = FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
    if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
    if (error != ERROR_SUCCESS) return Fail(L"Writing the disc image", error);
    return true;
}

bool ImageFiles::WriteCue(const std::string& sheet) {
    if (m_cueTemp.empty() && !TempName(m_folder, m_cueTemp))
        return Fail(L"Writing the CUE sheet", GetLastError());
    HANDLE file = CreateFileW(m_cueTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(L"Writing the CUE sheet", GetLastError());
    DWORD written = 0;
    BOOL ok = WriteFile(file, sheet.data(), static_cast<DWORD>(sheet.size()), &written, nullptr);
    DWORD error = ok ? (written == sheet.size() ? ERROR_SUCCESS : ERROR_DISK_FULL) : GetLastError();
    // On the disk before the image takes its names, like the BIN.
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file)) error = GetLastError();
    if (!CloseHandle(file) && error == ERROR_SUCCESS) error = GetLastError();
    if (error != ERROR_SUCCESS) return Fail(L"Writing the CUE sheet", error);
    return true;
}

bool ImageFiles::Complete(const std::wstring& baseName, const std::string& titleUtf8,
                          const std::vector<int64_t>& trackSectors) {
    const std::wstring stem = m_folder + L"\\";
    // Another program (or run) may take a name between our look and our
    // rename; the renames refuse to replace, and the next number is tried.
    for (int attempt = 0; attempt < 50; ++attempt) {
        std::wstring name = FirstFreeName(baseName, [&](const std::wstring& candidate) {
            return Exists(stem + candidate + L".bin") || Exists(stem + candidate + L".cue");
        });
        if (name.empty()) return Fail(L"Naming the disc image", ERROR_FILE_EXISTS);
        std::wstring bin = stem + name + L".bin";
        std::wstring cue = stem + name + L".cue";
        if (!WriteCue(BuildCueSheet(titleUtf8, ToUtf8(FileName(bin)), trackSectors))) return false;
        if (!MoveFileExW(m_binTemp.c_str(), bin.c_str(), MOVEFILE_WRITE_THROUGH)) {
            DWORD error = GetLastError();
            if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
            return Fail(L"Naming the disc image", error);
        }
        if (MoveFileExW(m_cueTemp.c_str(), cue.c_str(), MOVEFILE_WRITE_THROUGH)) {
            m_binPath = bin;
            m_cuePath = cue;
            ReleaseTempFile(m_binTemp);
            ReleaseTempFile(m_cueTemp);
            m_binTemp.clear();
            m_cueTemp.clear();
            m_complete = true;
            return true;
        }
        DWORD error = GetLastError();
        if (!MoveFileExW(bin.c_str(), m_binTemp.c_str(), MOVEFILE_WRITE_THROUGH)) {
            DeleteFileW(bin.c_str()); // a half image must not stay under a final name
            return Fail(L"Naming the disc image", GetLastError());
        }
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
        return Fail(L"Naming the CUE sheet", error);
    }
    return Fail(L"Naming the disc image", ERROR_FILE_EXISTS);
}

void ImageFiles::Discard() {
    if (m_file != INVALID_HANDLE_VALUE) {
        CloseHandle(m_file); // its contents are being thrown away
        m_file = INVALID_HANDLE_VALUE;
    }
    // A delete that fails (the folder's drive is gone) leaves the file to the
    // next clean-up of its folder.
    for (const std::wstring* temp : {&m_binTemp, &m_cueTemp}) {
        if (temp->empty()) continue;
        DeleteFileW(temp->c_str());
        ReleaseTempFile(*temp);
    }
    m_binTemp.clear();
    m_cueTemp.clear();
}
