#include "base/Library.h"

#include <vector>

namespace {

bool IsBareName(const std::wstring& file) {
    return file.find_first_of(L"\\/:") == std::wstring::npos;
}

// The full paths to try, in order, where the search flags are refused.
std::vector<std::wstring> FullPaths(const std::wstring& file, DWORD searchFlags) {
    if (!IsBareName(file)) return {file};
    std::vector<std::wstring> paths;
    if (searchFlags & (LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS))
        paths.push_back(ProgramFolder() + file);
    if (searchFlags & (LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS))
        paths.push_back(SystemFolder() + file);
    return paths;
}

} // namespace

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return L".\\";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L".\\" : path.substr(0, slash + 1);
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return L"C:\\Windows\\System32\\";
    std::wstring path(folder, length);
    if (path.back() != L'\\') path += L'\\';
    return path;
}

HMODULE LoadLibraryFromKnownFolders(const std::wstring& file, DWORD searchFlags,
                                    LoadLibraryFunction load) {
    HMODULE module = load(file.c_str(), nullptr, searchFlags);
    if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    DWORD error = ERROR_MOD_NOT_FOUND;
    for (const std::wstring& path : FullPaths(file, searchFlags)) {
        // A full path: the library itself comes from there, and what it
        // needs from its own folder first.
        module = load(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (module != nullptr) return module;
        error = GetLastError();
    }
    SetLastError(error);
    return nullptr;
}
