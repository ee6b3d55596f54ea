#include "controls/CSplashWnd.h"

#include "framework/Application.h"
#include "resources/resource.h"

#include <algorithm>

namespace {

constexpr wchar_t kSplashClass[] = L"QuillotuneSplash";
constexpr UINT kSplashMilliseconds = 3500;
// How long after its owner comes up the splash puts itself in front again.
constexpr UINT kFrontAgainMilliseconds = 250;

bool g_splashAllowed = false;
CSplashWnd* g_currentSplash = nullptr;

bool ClosesTheSplash(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

HWND ApplicationMainWindow() {
    CWinApp* app = CWinApp::Current();
    return app != nullptr ? app->MainWindow() : nullptr;
}

} // namespace

const MessageEntry<CSplashWnd> CSplashWnd::kMessageMap[] = {
    ON_WM_CREATE(OnCreate),                    // int OnCreate(CREATESTRUCTW*)
    ON_WM_PAINT(OnPaint),                      // void OnPaint()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient), // LRESULT (WPARAM hdc, LPARAM)
    ON_WM_TIMER(OnTimer),                      // void OnTimer(UINT_PTR)
    ON_MESSAGE(WM_ACTIVATE, OnActivate),       // LRESULT (WPARAM state, LPARAM other)
};

void CSplashWnd::SetSplashAllowed(bool allowed) {
    g_splashAllowed = allowed;
}

CSplashWnd* CSplashWnd::Current() {
    return g_currentSplash;
}

void CSplashWnd::OpenSplash(HWND owner) {
    if (!g_splashAllowed || g_currentSplash != nullptr) return;
    g_currentSplash = new CSplashWnd;
    if (!g_currentSplash->Create(owner)) {
        // A window that got as far as WM_NCCREATE has deleted its object
        // already (PostNcDestroy), which cleared the current splash.
        delete g_currentSplash;
        return;
    }
    UpdateWindow(g_currentSplash->Hwnd());
}

bool CSplashWnd::SplashFilterMessage(const MSG* message) {
    if (g_currentSplash == nullptr || message == nullptr) return false;
    if (!ClosesTheSplash(message->message)) return false;
    g_currentSplash->CloseSplash();
    return true;
}

CSplashWnd::~CSplashWnd() {
    if (g_currentSplash == this) g_currentSplash = nullptr;
}

bool CSplashWnd::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(kMessageMap, *this, message, wParam, lParam, result);
}

void CSplashWnd::PostNcDestroy() {
    delete this;
}

SIZE CSplashWnd::BitmapSize() const {
    BITMAP info{};
    if (!m_bitmap || GetObjectW(m_bitmap.Get(), sizeof info, &info) != sizeof info)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

bool CSplashWnd::Create(HWND owner) {
    m_bitmap.Reset(
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SPLASH),
                                        IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (!m_bitmap) return false;
    const SIZE size = BitmapSize();
    if (!RegisterWindowClass(kSplashClass, 0, LoadCursorW(nullptr, IDC_ARROW), nullptr, nullptr))
        return false;
    return CreateEx(0, kSplashClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, size.cx, size.cy, owner);
}

int CSplashWnd::OnCreate(CREATESTRUCTW* create) {
    if (DefaultProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(create)) == -1) return -1;
    CentreWindow();
    SetTimer(m_hWnd, TIMER_SPLASH, kSplashMilliseconds, nullptr);
    return 0;
}

void CSplashWnd::CentreWindow() {
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;

    // Over a visible owner; else in the work area of the main window's monitor.
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    HWND mainWindow = ApplicationMainWindow();
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT area = monitor.rcWork;
    RECT centreOf = area;
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &centreOf);

    int x = (centreOf.left + centreOf.right) / 2 - width / 2;
    int y = (centreOf.top + centreOf.bottom) / 2 - height / 2;
    // Kept inside the work area, the top-left corner winning when it is too small.
    x = std::max<int>(area.left, std::min<int>(x, area.right - width));
    y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSplashWnd::OnPaint() {
    PaintGuard paint(m_hWnd);
    PaintContent(paint.Dc());
}

LRESULT CSplashWnd::OnPrintClient(WPARAM wParam, LPARAM) {
    PaintContent(reinterpret_cast<HDC>(wParam));
    return 0;
}

void CSplashWnd::PaintContent(HDC dc) {
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    if (!memory) return;
    const SIZE size = BitmapSize();
    SelectGuard picture(memory.Get(), m_bitmap.Get());
    BitBlt(dc, 0, 0, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
}

void CSplashWnd::OnTimer(UINT_PTR timerId) {
    if (timerId != TIMER_SPLASH_FRONT) {
        CloseSplash();
        return;
    }
    // On a busy machine the owner may still be hidden: it would come up over
    // the splash after the restacking, so wait for it.
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && !IsWindowVisible(owner)) return;
    KillTimer(m_hWnd, TIMER_SPLASH_FRONT);
    // A real change of order (not a no-op "to the top" of a window the system
    // believes is on top already) makes the window system restack it too.
    constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, kOrderOnly);
    SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, kOrderOnly);
}

LRESULT CSplashWnd::OnActivate(WPARAM wParam, LPARAM lParam) {
    // The dialog takes the activation from the splash while it is still
    // hidden (its first control gets the focus). Some window systems (Wine
    // without a window manager) then put the dialog's window over its own
    // splash once they show it; shortly after, the splash goes back in front.
    const HWND activated = reinterpret_cast<HWND>(lParam);
    if (LOWORD(wParam) == WA_INACTIVE && activated != nullptr &&
        GetAncestor(activated, GA_ROOTOWNER) == GetWindow(m_hWnd, GW_OWNER))
        SetTimer(m_hWnd, TIMER_SPLASH_FRONT, kFrontAgainMilliseconds, nullptr);
    return DefaultProc(WM_ACTIVATE, wParam, lParam);
}

void CSplashWnd::CloseSplash() {
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    HWND mainWindow = ApplicationMainWindow();
    if (mainWindow == nullptr) mainWindow = owner;
    DestroyWindow(m_hWnd); // deletes this object (PostNcDestroy)
    if (mainWindow != nullptr && IsWindow(mainWindow)) UpdateWindow(mainWindow);
}
