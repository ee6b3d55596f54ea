// Looks at a running program from outside, the way a user's eye would:
//   WindowProbe wait <title> <seconds>       waits for a visible dialog window
//   WindowProbe height <title>               prints its outer height
//   WindowProbe click <title> <control id>   presses one of its buttons
//   WindowProbe gone <title> <seconds>       waits until no such window exists
//   WindowProbe text <title> <control id>    prints a control's text (0: the title)
//   WindowProbe enabled <title> <control id> prints 1 or 0
//   WindowProbe rows <title> <count> <seconds>
//                                            waits for the track list to hold <count> rows
//   WindowProbe choose <seconds> <folder> <name>...
//                                            fills the Open dialog as a user types:
//                                            the folder and Enter, then the names, Enter
//   WindowProbe follow <title> <seconds> [<stop at bytes>]
//                                            prints each new look of a burn (title, bar,
//                                            bytes written) until a message box shows up,
//                                            then its text; with a byte count, presses
//                                            the burn button ("&Stop") once that many
//                                            bytes are written
//   WindowProbe box <caption> <seconds>      waits for a message box, prints its text
//   WindowProbe answer <caption> [<button>]  presses a message box's button (OK
//                                            unless another id is given)
// A dialog titled "<title> (...)" counts as titled <title>, so the probe keeps
// finding the main dialog while a burn shows its phase in the title.
// Exit code 0 on success, 1 on failure.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int kTrackList = 1025;
constexpr int kBurnButton = 1016;
constexpr int kBytesWritten = 1003;
constexpr int kBurnProgress = 1005;
constexpr int kMessageText = 0xFFFF;

std::wstring TextOf(HWND window) {
    // Never sends a message, so a busy program cannot block the probe.
    wchar_t text[1024] = {};
    InternalGetWindowText(window, text, 1024);
    return text;
}

bool TitleMatches(const std::wstring& actual, const std::wstring& title) {
    return actual == title || actual.rfind(title + L" (", 0) == 0;
}

HWND FindVisible(const wchar_t* title) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr)
        if (IsWindowVisible(window) && TitleMatches(TextOf(window), title)) return window;
    return nullptr;
}

bool AnyNamed(const wchar_t* title) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr)
        if (TitleMatches(TextOf(window), title)) return true;
    return false;
}

HWND FindMessageBox(const wchar_t* caption) {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", caption)) != nullptr)
        if (IsWindowVisible(box) && GetDlgItem(box, kMessageText) != nullptr) return box;
    return nullptr;
}

bool Expired(DWORD deadline) {
    return static_cast<LONG>(GetTickCount() - deadline) > 0;
}
DWORD DeadlineIn(double seconds) {
    return GetTickCount() + static_cast<DWORD>(seconds * 1000);
}

bool WaitFor(const wchar_t* title, double seconds, bool present) {
    DWORD deadline = DeadlineIn(seconds);
    for (;;) {
        bool found = present ? FindVisible(title) != nullptr : AnyNamed(title);
        if (found == present) return true;
        if (Expired(deadline)) return false;
        Sleep(100);
    }
}

void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

LRESULT Ask(HWND window, UINT message) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}

// The Open dialog's file name box (explorer style, or the old one).
HWND FileNameBox(HWND open) {
    for (int id : {0x47C, 0x480}) // cmb13, edt1
        if (HWND box = GetDlgItem(open, id)) return box;
    return nullptr;
}

HWND WaitForOpenDialog(DWORD deadline) {
    for (;;) {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr)
            if (IsWindowVisible(window) && FileNameBox(window) != nullptr) return window;
        if (Expired(deadline)) return nullptr;
        Sleep(100);
    }
}

bool TypeAndEnter(HWND open, const std::wstring& text) {
    HWND box = FileNameBox(open);
    if (box == nullptr) return false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &ignored);
    Press(open, IDOK);
    return true;
}

int Choose(double seconds, const wchar_t* folder, int count, wchar_t** names) {
    DWORD deadline = DeadlineIn(seconds);
    HWND open = WaitForOpenDialog(deadline);
    if (open == nullptr) return 1;
    if (!TypeAndEnter(open, folder)) return 1;
    Sleep(1000); // the dialog changes into the folder
    std::wstring quoted;
    for (int i = 0; i < count; ++i)
        quoted += L"\"" + std::wstring(names[i]) + L"\" ";
    if (!TypeAndEnter(open, quoted)) return 1;
    while (IsWindow(open) && IsWindowVisible(open)) {
        if (Expired(deadline)) return 1;
        Sleep(100);
    }
    return 0;
}

int WaitForRows(const wchar_t* title, int count, double seconds) {
    DWORD deadline = DeadlineIn(seconds);
    for (;;) {
        HWND dialog = FindVisible(title);
        if (dialog != nullptr && Ask(GetDlgItem(dialog, kTrackList), LVM_GETITEMCOUNT) == count)
            return 0;
        if (Expired(deadline)) return 1;
        Sleep(100);
    }
}

// Prints every new look of the run until a message box shows up.
int Follow(const wchar_t* title, double seconds, double stopAtBytes) {
    DWORD deadline = DeadlineIn(seconds);
    HWND dialog = FindVisible(title);
    if (dialog == nullptr) return 1;
    std::wstring last;
    bool stopped = false;
    for (;;) {
        if (HWND box = FindMessageBox(L"Message")) {
            std::wprintf(L"box: %ls\n", TextOf(GetDlgItem(box, kMessageText)).c_str());
            return 0;
        }
        std::wstring bytes = TextOf(GetDlgItem(dialog, kBytesWritten));
        std::wstring look = TextOf(dialog) + L" | " +
                            std::to_wstring(Ask(GetDlgItem(dialog, kBurnProgress), PBM_GETPOS)) +
                            L" | " + bytes + L" | " + TextOf(GetDlgItem(dialog, kBurnButton));
        if (look != last) {
            std::wprintf(L"%ls\n", look.c_str());
            std::fflush(stdout);
            last = look;
        }
        if (stopAtBytes > 0 && !stopped && _wtof(bytes.c_str()) >= stopAtBytes) {
            std::wprintf(L"pressing the burn button\n");
            Press(dialog, kBurnButton);
            stopped = true;
        }
        // After "&Stop" no box need come: the run is over when idle again.
        if (stopped && TextOf(dialog) == title &&
            TextOf(GetDlgItem(dialog, kBurnButton)) == L"&Burn Now!") {
            std::wprintf(L"idle\n");
            return 0;
        }
        if (Expired(deadline)) return 1;
        Sleep(20);
    }
}

int WaitForBox(const wchar_t* caption, double seconds) {
    DWORD deadline = DeadlineIn(seconds);
    for (;;) {
        if (HWND box = FindMessageBox(caption)) {
            std::wprintf(L"%ls\n", TextOf(GetDlgItem(box, kMessageText)).c_str());
            return 0;
        }
        if (Expired(deadline)) return 1;
        Sleep(100);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 1;
    std::wstring verb = argv[1];
    if (verb == L"choose" && argc >= 5) return Choose(_wtof(argv[2]), argv[3], argc - 4, argv + 4);
    if (verb == L"box" && argc >= 4) return WaitForBox(argv[2], _wtof(argv[3]));
    if (verb == L"answer") {
        HWND box = FindMessageBox(argv[2]);
        if (box == nullptr) return 1;
        Press(box, argc >= 4 ? _wtoi(argv[3]) : IDOK);
        return 0;
    }
    const wchar_t* title = argv[2];
    if (verb == L"wait" && argc >= 4) return WaitFor(title, _wtof(argv[3]), true) ? 0 : 1;
    if (verb == L"gone" && argc >= 4) return WaitFor(title, _wtof(argv[3]), false) ? 0 : 1;
    if (verb == L"rows" && argc >= 5) return WaitForRows(title, _wtoi(argv[3]), _wtof(argv[4]));
    if (verb == L"follow" && argc >= 4)
        return Follow(title, _wtof(argv[3]), argc >= 5 ? _wtof(argv[4]) : 0);
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
    if (argc < 4) return 1;
    int id = _wtoi(argv[3]);
    HWND control = id == 0 ? window : GetDlgItem(window, id);
    if (control == nullptr) return 1;
    if (verb == L"click") {
        Press(window, id);
        return 0;
    }
    if (verb == L"text") {
        std::wprintf(L"%ls\n", TextOf(control).c_str());
        return 0;
    }
    if (verb == L"enabled") {
        std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
        return 0;
    }
    return 1;
}
