// Looks at the running Quillotune's splash and update question from outside:
//   LookProbe wait <class> <seconds>     waits for a visible window of the class,
//                                        prints its outer width and height
//   LookProbe gone <class> <seconds>     waits until no window of the class exists
//   LookProbe absent <class>             succeeds when none exists right now
//   LookProbe question <seconds> [keep]  waits for the update question, prints its
//                                        text and, unless told to keep it, answers
//                                        it so that the site is not opened
//   LookProbe questions                  prints how many update questions are up
//   LookProbe front <class> <title> <s>  once a window of the class and a dialog
//                                        titled so are both up, and a moment later,
//                                        succeeds when the former is in front;
//                                        2 when it was gone before it could tell
// Exit code 0 on success, 1 on failure.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kQuestionStart[] = L"There may be an update on ";

bool Expired(DWORD deadline) {
    return static_cast<LONG>(GetTickCount() - deadline) > 0;
}

DWORD Deadline(const wchar_t* seconds) {
    return GetTickCount() + static_cast<DWORD>(_wtof(seconds) * 1000);
}

HWND FindVisible(const wchar_t* className) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr)
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

std::wstring BoxText(HWND box) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    return text;
}

bool IsQuestion(HWND box) {
    wchar_t title[64] = {};
    GetWindowTextW(box, title, 64);
    return IsWindowVisible(box) && std::wcscmp(title, L"Message") == 0 &&
           BoxText(box).rfind(kQuestionStart, 0) == 0;
}

int CountQuestions(HWND* last) {
    int count = 0;
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr)
        if (IsQuestion(box)) {
            ++count;
            if (last != nullptr) *last = box;
        }
    return count;
}

int Wait(const wchar_t* className, const wchar_t* seconds) {
    DWORD deadline = Deadline(seconds);
    for (;;) {
        if (HWND window = FindVisible(className)) {
            RECT rect{};
            GetWindowRect(window, &rect);
            std::printf("%ld %ld\n", rect.right - rect.left, rect.bottom - rect.top);
            return 0;
        }
        if (Expired(deadline)) return 1;
        Sleep(20);
    }
}

int Gone(const wchar_t* className, const wchar_t* seconds) {
    DWORD deadline = Deadline(seconds);
    while (FindWindowW(className, nullptr) != nullptr) {
        if (Expired(deadline)) return 1;
        Sleep(50);
    }
    return 0;
}

int Question(const wchar_t* seconds, bool keep) {
    DWORD deadline = Deadline(seconds);
    HWND box = nullptr;
    while (CountQuestions(&box) == 0) {
        if (Expired(deadline)) return 1;
        Sleep(50);
    }
    std::wstring text = BoxText(box);
    std::printf("%ls\n", text.c_str());
    if (keep) return 0;
    // "... check it now?" opens the site on Yes, "... without checking?" on No.
    const bool asksToCheck = text.find(L"check it now?") != std::wstring::npos;
    const int decline = asksToCheck ? IDNO : IDYES;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(decline, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, decline)));
    return 0;
}

int ZOrder(HWND window) {
    int place = 0;
    for (HWND top = GetTopWindow(nullptr); top != nullptr;
         top = GetWindow(top, GW_HWNDNEXT), ++place)
        if (top == window) return place;
    return -1;
}

int Front(const wchar_t* className, const wchar_t* title, const wchar_t* seconds) {
    DWORD deadline = Deadline(seconds);
    HWND dialog = nullptr;
    bool seen = false;
    while ((dialog = FindWindowW(L"#32770", title)) == nullptr || !IsWindowVisible(dialog)) {
        const bool up = FindWindowW(className, nullptr) != nullptr;
        if (seen && !up) return 2;
        seen = seen || up;
        if (Expired(deadline)) return 1;
        Sleep(20);
    }
    Sleep(600); // the window system settles
    HWND front = FindVisible(className);
    if (front == nullptr) return 2;
    return ZOrder(front) < ZOrder(dialog) ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 1;
    std::wstring verb = argv[1];
    if (verb == L"wait" && argc >= 4) return Wait(argv[2], argv[3]);
    if (verb == L"gone" && argc >= 4) return Gone(argv[2], argv[3]);
    if (verb == L"absent" && argc >= 3) return FindWindowW(argv[2], nullptr) == nullptr ? 0 : 1;
    if (verb == L"question" && argc >= 3)
        return Question(argv[2], argc >= 4 && std::wstring(argv[3]) == L"keep");
    if (verb == L"front" && argc >= 5) return Front(argv[2], argv[3], argv[4]);
    if (verb == L"questions") {
        std::printf("%d\n", CountQuestions(nullptr));
        return 0;
    }
    return 1;
}
