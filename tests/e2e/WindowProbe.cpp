// Looks at a running program from outside, the way a user's eye would:
//   WindowProbe wait <title> <seconds>       waits for a visible dialog window
//   WindowProbe height <title>               prints its outer height
//   WindowProbe click <title> <control id>   presses one of its buttons
//   WindowProbe gone <title> <seconds>       waits until no such window exists
// Exit code 0 on success, 1 on failure.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND FindVisible(const wchar_t* title) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", title)) != nullptr)
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

bool WaitFor(const wchar_t* title, double seconds, bool present) {
    DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    for (;;) {
        bool found = present ? FindVisible(title) != nullptr
                             : FindWindowW(L"#32770", title) != nullptr;
        if (found == present) return true;
        if (static_cast<LONG>(GetTickCount() - deadline) > 0) return false;
        Sleep(100);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 1;
    std::wstring verb = argv[1];
    const wchar_t* title = argv[2];
    if (verb == L"wait" && argc >= 4) return WaitFor(title, _wtof(argv[3]), true) ? 0 : 1;
    if (verb == L"gone" && argc >= 4) return WaitFor(title, _wtof(argv[3]), false) ? 0 : 1;
    HWND window = FindVisible(title);
    if (window == nullptr) {
        std::fwprintf(stderr, L"no visible window titled %ls\n", title);
        return 1;
    }
    if (verb == L"height") {
        RECT rect{};
        GetWindowRect(window, &rect);
        std::printf("%ld\n", rect.bottom - rect.top);
        return 0;
    }
    if (verb == L"click" && argc >= 4) {
        int id = _wtoi(argv[3]);
        HWND button = GetDlgItem(window, id);
        if (button == nullptr) return 1;
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        return 0;
    }
    return 1;
}
