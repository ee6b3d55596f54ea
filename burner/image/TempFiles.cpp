#include "burner/image/TempFiles.h"

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <mutex>
#include <set>

namespace {

std::atomic<unsigned> g_sequence{0};

// The names of this process's temporary files that a run still holds (the
// names are unique within the process).
std::mutex g_heldMutex; // guards Held()
std::set<std::wstring>& Held() {
    static std::set<std::wstring> names;
    return names;
}

std::wstring NameIn(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool IsHeld(const std::wstring& name) {
    std::lock_guard<std::mutex> lock(g_heldMutex);
    return Held().count(name) != 0;
}

bool ProcessIsGone(DWORD id) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER; // no such process
    bool gone = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;             // looks, never waits
    CloseHandle(process);
    return gone;
}

} // namespace

bool CreateTempFile(const std::wstring& folder, std::wstring& path) {
    const DWORD self = GetCurrentProcessId();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        wchar_t name[64];
        std::swprintf(name, 64, L"qtn-%lu-%u.tmp", static_cast<unsigned long>(self), ++g_sequence);
        std::wstring candidate = folder + L"\\" + name;
        HANDLE file = CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            path = candidate;
            std::lock_guard<std::mutex> lock(g_heldMutex);
            Held().insert(name);
            return true;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            SetLastError(error);
            return false;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return false;
}

void ReleaseTempFile(const std::wstring& path) {
    std::lock_guard<std::mutex> lock(g_heldMutex);
    Held().erase(NameIn(path));
}

uint32_t TempFileOwner(const std::wstring& fileName) {
    unsigned long id = 0;
    unsigned sequence = 0;
    wchar_t tail[8] = {};
    if (std::swscanf(fileName.c_str(), L"qtn-%lu-%u%7ls", &id, &sequence, tail) != 3) return 0;
    if (std::wcscmp(tail, L".tmp") != 0 || id > 0xFFFFFFFFul) return 0;
    return static_cast<uint32_t>(id);
}

int RemoveAbandonedTempFiles(const std::wstring& folder) {
    int removed = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\qtn-*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    const DWORD self = GetCurrentProcessId();
    do {
        DWORD owner = TempFileOwner(found.cFileName);
        // Our own process may still be ending a stopped run: its files are its
        // own to remove. What no run holds (a delete failed while its drive
        // was gone) is left over like another process's.
        if (owner == 0 || (owner == self ? IsHeld(found.cFileName) : !ProcessIsGone(owner)))
            continue;
        if (DeleteFileW((folder + L"\\" + found.cFileName).c_str())) ++removed;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return removed;
}
