// Looks at the running Quillotune's splash and update question from outside:
//   LookProbe wait <class> <seconds>     waits for a visible window of the class,
//                                        prints its outer width and height
//   LookProbe gone <class> <seconds>     waits until no window of the class exists
//   LookProbe front <class> <title> <s>  once a window of the class and a dialog
//                                        titled so are both up, succeeds when the
//                                        former comes in front within 1.5 s;
//                                        2 when it was gone before it could tell
//   LookProbe question <seconds> [keep]  waits for the update question, prints its
//                                        text and, unless told to keep it, answers
//                                        it so that the site is not opened
// Exit code 0 on success, 1 on failure.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Asks `ready` every `step` milliseconds until it says yes or the time is up.
template <class Ready> bool WaitFor(const wchar_t* seconds, DWORD step, Ready ready) {
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(_wtof(seconds) * 1000);
    while (!ready()) {
        if (static_cast<LONG>(GetTickCount() - deadline) > 0) return false;
        Sleep(step);
    }
    return true;
}

HWND FindVisible(const wchar_t* className, const wchar_t* title = nullptr) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, title)) != nullptr)
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

int Wait(const wchar_t* className, const wchar_t* seconds) {
    HWND window = nullptr;
    if (!WaitFor(seconds, 20, [&] { return (window = FindVisible(className)) != nullptr; }))
        return 1;
    RECT rect{};
    GetWindowRect(window, &rect);
    std::printf("%ld %ld\n", rect.right - rect.left, rect.bottom - rect.top);
    return 0;
}

int ZOrder(HWND window) {
    int place = 0;
    for (HWND top = GetTopWindow(nullptr); top != window; top = GetWindow(top, GW_HWNDNEXT))
        ++place;
    return place;
}

int Front(const wchar_t* className, const wchar_t* title, const wchar_t* seconds) {
    HWND dialog = nullptr;
    if (!WaitFor(seconds, 20, [&] { return (dialog = FindVisible(L"#32770", title)) != nullptr; }))
        return 1;
    // The window system settles in a moment; on a busy machine, a few.
    HWND front = nullptr;
    bool inFront = WaitFor(L"1.5", 50, [&] {
        front = FindVisible(className);
        return front == nullptr || ZOrder(front) < ZOrder(dialog);
    });
    if (front == nullptr) return 2; // gone before it could tell
    return inFront ? 0 : 1;
}

int Question(const wchar_t* seconds, bool keep) {
    HWND box = nullptr;
    wchar_t text[1024] = {};
    if (!WaitFor(seconds, 50, [&] {
            return (box = FindVisible(L"#32770", L"Message")) != nullptr &&
                   GetDlgItemTextW(box, 0xFFFF, text, 1024) &&
                   std::wstring(text).rfind(L"There may be an update on ", 0) == 0;
        }))
        return 1;
    std::printf("%ls\n", text);
    if (keep) return 0;
    // "... check it now?" opens the site on Yes, "... without checking?" on No.
    const int decline =
        std::wstring(text).find(L"check it now?") != std::wstring::npos ? IDNO : IDYES;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(decline, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, decline)));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc >= 3 ? argv[1] : L"";
    if (verb == L"wait" && argc >= 4) return Wait(argv[2], argv[3]);
    if (verb == L"gone" && argc >= 4)
        return WaitFor(argv[3], 50, [&] { return !FindWindowW(argv[2], nullptr); }) ? 0 : 1;
    if (verb == L"front" && argc >= 5) return Front(argv[2], argv[3], argv[4]);
    if (verb == L"question")
        return Question(argv[2], argc >= 4 && std::wstring(argv[3]) == L"keep");
    return 1;
}
