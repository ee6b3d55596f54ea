// The splash: its size and place, what closes it and what does not, and
// that it never shows when it is not allowed.
#include "controls/CSplashWnd.h"
#include "resources/resource.h"
#include "tests/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr wchar_t kSplashClass[] = L"QuillotuneSplash";

SIZE WindowSize(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

class Splash : public testing::Test {
protected:
    void SetUp() override {
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        CSplashWnd::SetSplashAllowed(true);
    }
    void TearDown() override {
        if (CSplashWnd::Current() != nullptr) CSplashWnd::Current()->CloseSplash();
        DestroyWindow(owner);
        CSplashWnd::SetSplashAllowed(false);
        PumpMessages();
    }

    HWND Open() {
        CSplashWnd::OpenSplash(owner);
        return CSplashWnd::Current() != nullptr ? CSplashWnd::Current()->Hwnd() : nullptr;
    }

    static MSG Message(UINT message, HWND window) {
        MSG msg{};
        msg.hwnd = window;
        msg.message = message;
        return msg;
    }

    HWND owner = nullptr;
};

TEST_F(Splash, HasExactlyThePicturesSizeNoFrameAndShowsThePicture) {
    HWND splash = Open();
    ASSERT_NE(nullptr, splash);
    EXPECT_TRUE(IsWindowVisible(splash));
    SIZE bitmap = CSplashWnd::Current()->BitmapSize();
    EXPECT_EQ(415, bitmap.cx);
    EXPECT_EQ(74, bitmap.cy);
    SIZE size = WindowSize(splash);
    EXPECT_EQ(bitmap.cx, size.cx);
    EXPECT_EQ(bitmap.cy, size.cy);
    const LONG_PTR style = GetWindowLongPtrW(splash, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_DLGFRAME));
    EXPECT_EQ(0, GetWindowLongPtrW(splash, GWL_EXSTYLE));
    EXPECT_EQ(owner, GetWindow(splash, GW_OWNER));

    Canvas drawn(415, 74, RGB(1, 2, 3));
    SendMessageW(splash, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(drawn.Dc()), PRF_CLIENT);
    Canvas expected(415, 74, RGB(1, 2, 3));
    UniqueBitmap picture(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SPLASH), IMAGE_BITMAP, 0, 0, 0)));
    UniqueMemoryDc source(CreateCompatibleDC(expected.Dc()));
    SelectGuard selected(source.Get(), picture.Get());
    BitBlt(expected.Dc(), 0, 0, 415, 74, source.Get(), 0, 0, SRCCOPY);
    int differences = 0;
    for (int y = 0; y < 74; ++y)
        for (int x = 0; x < 415; ++x)
            if (drawn.At(x, y) != expected.At(x, y)) ++differences;
    EXPECT_EQ(0, differences);
}

// Whether `inner` sits in the middle of `outer`, give or take the odd pixel.
bool IsCentredIn(const RECT& inner, const RECT& outer) {
    return std::abs((inner.left - outer.left) - (outer.right - inner.right)) <= 1 &&
           std::abs((inner.top - outer.top) - (outer.bottom - inner.bottom)) <= 1;
}

TEST_F(Splash, IsCentredInTheWorkAreaOrOverAVisibleOwner) {
    RECT rect{};
    GetWindowRect(Open(), &rect);
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_TRUE(IsCentredIn(rect, monitor.rcWork));
    CSplashWnd::Current()->CloseSplash();

    SetWindowPos(owner, nullptr, 50, 60, 600, 300, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    GetWindowRect(Open(), &rect);
    EXPECT_TRUE(IsCentredIn(rect, RECT{50, 60, 650, 360}));
}

TEST_F(Splash, ShowsOnceAndNeverWhenNotAllowed) {
    HWND first = Open();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, Open());
    EXPECT_EQ(first, FindWindowW(kSplashClass, nullptr));
    CSplashWnd::Current()->CloseSplash();

    CSplashWnd::SetSplashAllowed(false);
    EXPECT_EQ(nullptr, Open());
    EXPECT_EQ(nullptr, FindWindowW(kSplashClass, nullptr));
}

class SplashClosingPress : public Splash, public testing::WithParamInterface<UINT> {};

TEST_P(SplashClosingPress, ClosesItAndIsSwallowed) {
    HWND splash = Open();
    ASSERT_NE(nullptr, splash);
    // Whatever window the press is for.
    MSG press = Message(GetParam(), owner);
    EXPECT_TRUE(CSplashWnd::SplashFilterMessage(&press));
    EXPECT_EQ(nullptr, CSplashWnd::Current());
    EXPECT_FALSE(IsWindow(splash));
    // Once it is gone, presses pass.
    EXPECT_FALSE(CSplashWnd::SplashFilterMessage(&press));
}

INSTANTIATE_TEST_SUITE_P(KeyAndButtonPresses, SplashClosingPress,
                         testing::Values(WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN,
                                         WM_MBUTTONDOWN, WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN,
                                         WM_NCMBUTTONDOWN));

TEST_F(Splash, MovesReleasesAndOtherMessagesPassItBy) {
    HWND splash = Open();
    ASSERT_NE(nullptr, splash);
    for (UINT message : {WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_KEYUP, WM_SYSKEYUP, WM_CHAR, WM_LBUTTONUP,
                         WM_RBUTTONUP, WM_MBUTTONUP, WM_PAINT, WM_TIMER}) {
        MSG msg = Message(message, splash);
        EXPECT_FALSE(CSplashWnd::SplashFilterMessage(&msg)) << message;
    }
    EXPECT_TRUE(IsWindow(splash));
}

TEST_F(Splash, ItsTimerClosesIt) {
    for (UINT_PTR timer : {static_cast<UINT_PTR>(TIMER_SPLASH), static_cast<UINT_PTR>(5)}) {
        HWND splash = Open();
        ASSERT_NE(nullptr, splash);
        SendMessageW(splash, WM_TIMER, timer, 0);
        EXPECT_FALSE(IsWindow(splash)) << timer;
        EXPECT_EQ(nullptr, CSplashWnd::Current());
    }
}

// Place of `window` among the top-level windows, 0 for the topmost.
int ZOrder(HWND window) {
    int place = 0;
    for (HWND top = GetTopWindow(nullptr); top != nullptr;
         top = GetWindow(top, GW_HWNDNEXT), ++place)
        if (top == window) return place;
    return -1;
}

TEST_F(Splash, PutsItselfInFrontOnceWhenItsOwnerTakesTheActivation) {
    HWND splash = Open();
    ASSERT_NE(nullptr, splash);
    ShowWindow(owner, SW_SHOWNA);
    HWND stranger = CreateWindowExW(0, L"STATIC", L"stranger", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(splash, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(stranger));
    EXPECT_FALSE(KillTimer(splash, TIMER_SPLASH_FRONT));
    DestroyWindow(stranger);

    // Wine keeps the order right within the program, so the owner cannot be
    // put over its splash here (the end-to-end test sees the window system's
    // side): the splash stays open, in front, and is not made topmost for it.
    SendMessageW(splash, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(owner));
    SendMessageW(splash, WM_TIMER, TIMER_SPLASH_FRONT, 0);
    EXPECT_TRUE(IsWindow(splash));
    EXPECT_LT(ZOrder(splash), ZOrder(owner));
    EXPECT_EQ(0, GetWindowLongPtrW(splash, GWL_EXSTYLE));
    EXPECT_FALSE(KillTimer(splash, TIMER_SPLASH_FRONT));
}

TEST_F(Splash, GoesWithItsOwner) {
    HWND splash = Open();
    ASSERT_NE(nullptr, splash);
    DestroyWindow(owner);
    owner = nullptr;
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_EQ(nullptr, CSplashWnd::Current());
}

} // namespace
