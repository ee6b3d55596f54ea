#include "burner/run/FileManager.h"

#include <windows.h>

#include <vector>

std::wstring FileManagerCommandLine(const std::wstring& windowsFolder, const std::wstring& path) {
    std::wstring folder = windowsFolder;
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    // The program by its full path, so no explorer.exe in the current folder is taken.
    return L"\"" + folder + L"explorer.exe\" /select,\"" + path + L"\"";
}

bool ShowInFileManager(const std::wstring& path) {
    wchar_t windows[MAX_PATH];
    UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    std::wstring command = FileManagerCommandLine(windows, path);
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    // The file manager lives on by itself.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
