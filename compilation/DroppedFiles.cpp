#include "compilation/DroppedFiles.h"

#include "base/Handles.h"

#include <shlwapi.h>

#include <algorithm>

namespace {

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The kinds the Open dialog's "All Supported" filter lists.
bool IsAudioFileName(const wchar_t* name) {
    const wchar_t* extension = PathFindExtensionW(name);
    for (const wchar_t* audio : {L".wav", L".mp3", L".ogg", L".wma"})
        if (_wcsicmp(extension, audio) == 0) return true;
    return false;
}

std::wstring Joined(const std::wstring& folder, const wchar_t* name) {
    bool separated = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
    return folder + (separated ? L"" : L"\\") + name;
}

std::vector<std::wstring> AudioFilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    UniqueFindHandle search(FindFirstFileW(Joined(folder, L"*").c_str(), &found));
    if (!search) return {}; // an unreadable folder adds nothing
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsAudioFileName(found.cFileName))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search.Get(), &found));
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return StrCmpLogicalW(a.c_str(), b.c_str()) < 0;
    });
    std::vector<std::wstring> paths;
    for (const std::wstring& name : names)
        paths.push_back(Joined(folder, name.c_str()));
    return paths;
}

} // namespace

std::vector<std::wstring> PathsOfDrop(HDROP drop) {
    std::vector<std::wstring> paths;
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
        if (path.empty()) continue;
        DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
        paths.push_back(std::move(path));
    }
    return paths;
}

std::vector<std::wstring> FilesToAdd(const std::vector<std::wstring>& dropped) {
    std::vector<std::wstring> files;
    for (const std::wstring& path : dropped) {
        if (!IsFolder(path)) {
            files.push_back(path);
            continue;
        }
        std::vector<std::wstring> inFolder = AudioFilesIn(path);
        files.insert(files.end(), inFolder.begin(), inFolder.end());
    }
    return files;
}
