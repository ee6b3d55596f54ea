#include "burner/image/ImageFolder.h"

#include "burner/image/TempFiles.h"
#include "base/FileErrors.h"
#include "burner/core/BurnErrors.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cwchar>

namespace {

std::wstring WithoutTrailingSlash(std::wstring path) {
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path;
}

// Read whole, however long: a folder too long to use is refused with its
// reason, never swapped for another.
std::wstring EnvironmentFolder() {
    DWORD size = GetEnvironmentVariableW(L"QUILLOTUNE_IMAGE_DIR", nullptr, 0);
    if (size <= 1) return std::wstring();
    std::wstring folder(size, L'\0');
    DWORD length = GetEnvironmentVariableW(L"QUILLOTUNE_IMAGE_DIR", &folder[0], size);
    if (length == 0 || length >= size) return std::wstring();
    folder.resize(length);
    return folder;
}

std::wstring MusicFolder() {
    wchar_t* path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Music, KF_FLAG_CREATE, nullptr, &path)) && path)
        result = path;
    if (path != nullptr) CoTaskMemFree(path);
    return result;
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

ImageFolderChoice ChooseImageFolder(const BurnOptions& options) {
    size_t length = wcsnlen(options.imageFolder, 260);
    std::wstring own(options.imageFolder, length);
    if (!own.empty() && !IsNotDefined(options.imageFolder))
        return {WithoutTrailingSlash(own), false};
    std::wstring environment = EnvironmentFolder();
    if (!environment.empty()) return {WithoutTrailingSlash(environment), false};
    std::wstring music = MusicFolder();
    if (music.empty()) return {std::wstring(), true};
    return {WithoutTrailingSlash(music) + L"\\Quillotune", true};
}

int32_t PrepareImageFolder(const ImageFolderChoice& folder) {
    if (folder.path.empty())
        return FailWith(
            BurnError::FolderMissing,
            L"There is no folder for disc images: the user's Music folder cannot be found.");
    // A system that limits paths to 260 characters could name no image in a
    // longer folder (nor could the probe below).
    constexpr size_t kLongestFolder = MAX_PATH - 14;
    if (folder.path.size() > kLongestFolder)
        return FailWith(BurnError::FolderNotWritable,
                        L"The folder for disc images \"" + folder.path +
                            L"\" cannot be used: its path is longer than " +
                            std::to_wstring(kLongestFolder) + L" characters.");
    if (!IsFolder(folder.path)) {
        if (!folder.createWhenMissing || !CreateDirectoryW(folder.path.c_str(), nullptr)) {
            DWORD error = folder.createWhenMissing ? GetLastError() : ERROR_PATH_NOT_FOUND;
            return FailWith(BurnError::FolderMissing, L"The folder for disc images \"" +
                                                          folder.path + L"\" cannot be used: " +
                                                          FileErrorReason(error));
        }
    }
    // A probe file, deleted when its handle closes, shows that images can go here.
    wchar_t probe[MAX_PATH + 16];
    if (!GetTempFileNameW(folder.path.c_str(), L"qtn", 0, probe))
        return FailWith(BurnError::FolderNotWritable,
                        L"The folder for disc images \"" + folder.path +
                            L"\" cannot be written to: " + FileErrorReason(GetLastError()));
    DeleteFileW(probe); // the name only served to prove a file can be created
    RemoveAbandonedTempFiles(folder.path);
    return 0;
}
