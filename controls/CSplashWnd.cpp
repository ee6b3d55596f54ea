#include "controls/CSplashWnd.h"

namespace {
bool g_splashAllowed = true;
CSplashWnd* g_currentSplash = nullptr;
} // namespace

const MessageEntry<CSplashWnd> CSplashWnd::kMessageMap[] = {
    {0, kAnyCode, kAnyId, nullptr}, // placeholder row; replaced by the full table
};

void CSplashWnd::SetSplashAllowed(bool allowed) { g_splashAllowed = allowed; }
void CSplashWnd::OpenSplash(HWND) {}
bool CSplashWnd::SplashFilterMessage(const MSG*) { return false; }
CSplashWnd* CSplashWnd::Current() { return g_currentSplash; }
void CSplashWnd::CloseSplash() {}
SIZE CSplashWnd::BitmapSize() const { return SIZE{0, 0}; }
bool CSplashWnd::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
void CSplashWnd::PostNcDestroy() {}
CSplashWnd::~CSplashWnd() = default;
bool CSplashWnd::Create(HWND) { return false; }
int CSplashWnd::OnCreate(CREATESTRUCTW*) { return 0; }
void CSplashWnd::OnPaint() {}
void CSplashWnd::OnTimer(UINT_PTR) {}
void CSplashWnd::PaintContent(HDC) {}
