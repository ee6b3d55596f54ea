// A stand-in for the theme library with the five functions the theme helper
// binds. It paints each state in a colour of its own and keeps a log of the
// calls, so a test can see which state was drawn and in which order.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {
BOOL g_themed = TRUE;
BOOL g_openFails = FALSE;
std::string g_log;
int g_openThemes = 0;

void Fill(HDC dc, const RECT* rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, rect, brush);
    DeleteObject(brush);
}

void Log(const char* text) {
    if (!g_log.empty()) g_log += ';';
    g_log += text;
}
} // namespace

extern "C" {

// The face colour the fake paints for `state`.
COLORREF WINAPI FakeThemeStateColour(int state) {
    return RGB(30 * state, 160, 90);
}

COLORREF WINAPI FakeThemeParentColour() {
    return RGB(250, 0, 250);
}

void WINAPI FakeThemeConfigure(BOOL themed, BOOL openFails) {
    g_themed = themed;
    g_openFails = openFails;
    g_log.clear();
}

// Copies the log into `buffer` and empties it.
void WINAPI FakeThemeTakeLog(char* buffer, int size) {
    std::snprintf(buffer, static_cast<size_t>(size), "%s", g_log.c_str());
    g_log.clear();
}

int WINAPI FakeThemeOpenCount() {
    return g_openThemes;
}

HANDLE WINAPI OpenThemeData(HWND window, LPCWSTR classList) {
    char line[64];
    std::snprintf(line, sizeof line, "Open(%ls,%s)", classList, window ? "window" : "none");
    Log(line);
    if (g_openFails) return nullptr;
    ++g_openThemes;
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x7e57));
}

HRESULT WINAPI CloseThemeData(HANDLE theme) {
    Log("Close");
    if (theme != reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x7e57))) return E_HANDLE;
    --g_openThemes;
    return S_OK;
}

HRESULT WINAPI DrawThemeParentBackground(HWND window, HDC dc, const RECT* rect) {
    Log(window != nullptr ? "Parent" : "Parent(none)");
    Fill(dc, rect, FakeThemeParentColour());
    return S_OK;
}

HRESULT WINAPI DrawThemeBackground(HANDLE, HDC dc, int part, int state, const RECT* rect,
                                   const RECT* clip) {
    char line[96];
    std::snprintf(line, sizeof line, "Background(%d,%d,%ld,%ld,%ld,%ld,%s)", part, state,
                  rect->left, rect->top, rect->right, rect->bottom, clip ? "clip" : "noclip");
    Log(line);
    Fill(dc, rect, FakeThemeStateColour(state));
    return S_OK;
}

BOOL WINAPI IsAppThemed() {
    return g_themed;
}

} // extern "C"
