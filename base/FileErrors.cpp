#include "base/FileErrors.h"

#include <windows.h>

std::wstring FileErrorReason(unsigned long win32Error) {
    switch (win32Error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        return L"it does not exist.";
    case ERROR_ACCESS_DENIED:
        return L"access to it is denied.";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return L"another program is using it.";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return L"the disk is full.";
    case ERROR_WRITE_PROTECT:
        return L"the disk is write-protected.";
    case ERROR_NOT_READY:
        return L"the drive is not ready.";
    default:
        break;
    }
    wchar_t* message = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, win32Error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring reason;
    if (length > 0 && message != nullptr) reason.assign(message, length);
    if (message != nullptr) LocalFree(message);
    while (!reason.empty() &&
           (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    if (reason.empty()) return L"the system reports error " + std::to_wstring(win32Error) + L".";
    // A system message starts with a capital; the sentence goes on after a colon.
    if (reason[0] >= L'A' && reason[0] <= L'Z' &&
        !(reason.size() > 1 && reason[1] >= L'A' && reason[1] <= L'Z'))
        reason[0] = static_cast<wchar_t>(reason[0] - L'A' + L'a');
    if (reason.back() != L'.') reason += L'.';
    return reason;
}
