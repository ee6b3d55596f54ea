// Looks at a running program from outside, the way a user's eye would:
//   wait <title> <seconds>            waits for a visible dialog window
//   gone <title> <seconds>            waits until no such window exists
//   height <title>                    prints its outer height
//   click <title> <control id>        presses one of its buttons
//   text <title> <control id>         prints a control's text (0: the title)
//   enabled <title> <control id>      prints 1 or 0
//   items <title> <control id>        prints a combo box's entries, one a line
//   rows <title> <count> <seconds>    waits for the track list to hold <count> rows
//   choose <seconds> <folder> <name>...
//       fills the Open dialog as a user types: the folder and Enter, then the names, Enter
//   follow <title> <seconds> [<stop at bytes>]
//       prints each new look of a burn (title, bar, bytes written, burn button) until a
//       message box shows up, then its text; with a byte count, presses the burn button
//       ("&Stop") once that many bytes are written, and ends when the dialog is idle
//   box <caption> <seconds>           waits for a message box, prints its text
//   answer <caption> [<button>]       presses a message box's button (OK unless given)
// A dialog titled "<title> (...)" counts as titled <title>, so the probe keeps
// finding the main dialog while a burn shows its phase in the title.
// Exit code 0 on success, 1 on failure.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "resources/resource.h"

namespace {

constexpr int kMessageText = 0xFFFF;

std::wstring TextOf(HWND window) {
    // Never sends a message, so a busy program cannot block the probe.
    wchar_t text[1024] = {};
    InternalGetWindowText(window, text, 1024);
    return text;
}

// True once done() is, false when the seconds have passed first.
template <class Done> bool Poll(double seconds, Done done, DWORD every = 100) {
    for (DWORD start = GetTickCount(); !done(); Sleep(every))
        if (GetTickCount() - start > seconds * 1000) return false;
    return true;
}

// The first dialog the test accepts, or null.
template <class Test> HWND FindDialog(Test test) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", nullptr)) != nullptr)
        if (test(window)) return window;
    return nullptr;
}

HWND Find(const std::wstring& title, bool visible = true) {
    return FindDialog([&](HWND window) {
        std::wstring text = TextOf(window);
        return (!visible || IsWindowVisible(window)) &&
               (text == title || text.rfind(title + L" (", 0) == 0);
    });
}

HWND FindMessageBox(const std::wstring& caption) {
    return FindDialog([&](HWND box) {
        return IsWindowVisible(box) && TextOf(box) == caption && GetDlgItem(box, kMessageText);
    });
}

void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

LRESULT Ask(HWND window, UINT message, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, 0, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

// The Open dialog's file name box (explorer style, or the old one).
HWND FileNameBox(HWND open) {
    HWND box = GetDlgItem(open, 0x47C);         // cmb13
    return box ? box : GetDlgItem(open, 0x480); // edt1
}

void TypeAndEnter(HWND open, const std::wstring& text) {
    Ask(FileNameBox(open), WM_SETTEXT, reinterpret_cast<LPARAM>(text.c_str()));
    Press(open, IDOK);
}

int Choose(double seconds, const wchar_t* folder, int count, wchar_t** names) {
    HWND open = nullptr;
    if (!Poll(seconds, [&] {
            return (open = FindDialog([](HWND w) { return IsWindowVisible(w) && FileNameBox(w); }));
        }))
        return 1;
    TypeAndEnter(open, folder);
    Sleep(1000); // the dialog changes into the folder
    std::wstring quoted;
    for (int i = 0; i < count; ++i)
        quoted += L"\"" + std::wstring(names[i]) + L"\" ";
    TypeAndEnter(open, quoted);
    return Poll(seconds, [&] { return !IsWindow(open) || !IsWindowVisible(open); }) ? 0 : 1;
}

void PrintItems(HWND combo) {
    for (WPARAM i = 0, count = Ask(combo, CB_GETCOUNT); i < count; ++i) {
        DWORD_PTR length = 0;
        wchar_t text[1024] = {};
        if (SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length) &&
            length < 1024 &&
            SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text),
                                SMTO_ABORTIFHUNG, 5000, nullptr))
            std::wprintf(L"%ls\n", text);
    }
}

// The track list's rows, -1 without the dialog.
int Rows(const std::wstring& title) {
    HWND dialog = Find(title);
    return dialog ? static_cast<int>(Ask(GetDlgItem(dialog, IDC_TRACKS), LVM_GETITEMCOUNT)) : -1;
}

// Prints every new look of the run until a message box shows up.
int Follow(const std::wstring& title, double seconds, double stopAtBytes) {
    HWND dialog = Find(title);
    std::wstring last;
    bool stopped = false;
    for (DWORD start = GetTickCount(); dialog && GetTickCount() - start < seconds * 1000;
         Sleep(20)) {
        if (HWND box = FindMessageBox(L"Message")) {
            std::wprintf(L"box: %ls\n", TextOf(GetDlgItem(box, kMessageText)).c_str());
            return 0;
        }
        std::wstring bytes = TextOf(GetDlgItem(dialog, IDC_BYTES_WRITTEN));
        std::wstring look =
            TextOf(dialog) + L" | " +
            std::to_wstring(Ask(GetDlgItem(dialog, IDC_BURN_PROGRESS), PBM_GETPOS)) + L" | " +
            bytes + L" | " + TextOf(GetDlgItem(dialog, IDC_BURN));
        if (look != last) std::wprintf(L"%ls\n", look.c_str());
        std::fflush(stdout);
        last = look;
        if (stopAtBytes > 0 && !stopped && _wtof(bytes.c_str()) >= stopAtBytes) {
            std::wprintf(L"pressing the burn button\n");
            Press(dialog, IDC_BURN);
            stopped = true;
        }
        // After "&Stop" no box need come: the run is over when idle again.
        if (stopped && TextOf(dialog) == title &&
            TextOf(GetDlgItem(dialog, IDC_BURN)) == L"&Burn Now!") {
            std::wprintf(L"idle\n");
            return 0;
        }
    }
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 1;
    std::wstring verb = argv[1];
    double seconds = argc >= 4 ? _wtof(argv[3]) : 0;
    if (verb == L"choose" && argc >= 5) return Choose(_wtof(argv[2]), argv[3], argc - 4, argv + 4);
    if (verb == L"box" && argc >= 4) {
        HWND box = nullptr;
        if (!Poll(seconds, [&] { return (box = FindMessageBox(argv[2])); })) return 1;
        std::wprintf(L"%ls\n", TextOf(GetDlgItem(box, kMessageText)).c_str());
        return 0;
    }
    if (verb == L"answer") {
        HWND box = FindMessageBox(argv[2]);
        if (box) Press(box, argc >= 4 ? _wtoi(argv[3]) : IDOK);
        return box ? 0 : 1;
    }
    const wchar_t* title = argv[2];
    if (verb == L"wait") return Poll(seconds, [&] { return Find(title); }) ? 0 : 1;
    if (verb == L"gone") return Poll(seconds, [&] { return !Find(title, false); }) ? 0 : 1;
    if (verb == L"follow") return Follow(title, seconds, argc >= 5 ? _wtof(argv[4]) : 0);
    if (verb == L"rows" && argc >= 5)
        return Poll(_wtof(argv[4]), [&] { return Rows(title) == _wtoi(argv[3]); }) ? 0 : 1;
    HWND window = Find(title);
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
    int id = argc >= 4 ? _wtoi(argv[3]) : -1;
    HWND control = id == 0 ? window : GetDlgItem(window, id);
    if (control == nullptr) return 1;
    if (verb == L"click")
        Press(window, id);
    else if (verb == L"text")
        std::wprintf(L"%ls\n", TextOf(control).c_str());
    else if (verb == L"enabled")
        std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
    else if (verb == L"items")
        PrintItems(control);
    else
        return 1;
    return 0;
}
