#include "controls/CMyHyperLink.h"

#include <vector>

namespace {
constexpr int kHelpViewerHandCursor = 106;
}

const MessageEntry<CMyHyperLink> CMyHyperLink::kMessageMap[] = {
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor),                         // LRESULT (WPARAM, LPARAM)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove),                         // LRESULT (WPARAM, LPARAM pt)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged),               // LRESULT (WPARAM, LPARAM new)
    ON_MESSAGE(Reflected(WM_CTLCOLORSTATIC), OnReflectedCtlColor), // LRESULT (WPARAM hdc, LPARAM)
    ON_MESSAGE_MAYBE(Reflected(WM_COMMAND), OnReflectedCommand),   // bool (.., LRESULT&)
};

CMyHyperLink::CMyHyperLink() : m_shellOpen(ExecuteShellCall) {}

bool CMyHyperLink::AttachControl(HWND control) {
    return SubclassWindow(control);
}

bool CMyHyperLink::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
    return DispatchMessageMap(kMessageMap, *this, message, wParam, lParam, result);
}

std::wstring CMyHyperLink::HelpViewerPath() {
    wchar_t folder[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(folder) + L"\\Winhlp32.exe";
}

HCURSOR CMyHyperLink::CopyHelpViewerCursor(const std::wstring& helpViewerPath) {
    if (helpViewerPath.empty()) return nullptr;
    // Only its resources are wanted: loaded as data, none of its code runs.
    UniqueModule viewer(LoadLibraryExW(helpViewerPath.c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!viewer) return nullptr;
    HCURSOR shared = LoadCursorW(viewer.Get(), MAKEINTRESOURCEW(kHelpViewerHandCursor));
    if (shared == nullptr) return nullptr;
    // Our own copy outlives the module, which is freed again right here.
    return static_cast<HCURSOR>(CopyImage(shared, IMAGE_CURSOR, 0, 0, 0));
}

void CMyHyperLink::OnAttached() {
    // Without the notify style a static control tells its parent nothing of clicks.
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, GetWindowLongPtrW(m_hWnd, GWL_STYLE) | SS_NOTIFY);
    MakeLinkFont();
    FitToText();
    ChooseCursor();
}

void CMyHyperLink::MakeLinkFont() {
    auto font = reinterpret_cast<HFONT>(SendMessageW(WM_GETFONT));
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW description{};
    if (GetObjectW(font, sizeof description, &description) != sizeof description) return;
    description.lfUnderline = TRUE;
    m_linkFont.Reset(CreateFontIndirectW(&description));
    if (m_linkFont) SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.Get()), TRUE);
}

// How wide `text` comes out when drawn in `dc` with the font selected there.
// Drawn rather than only measured: a renderer may place glyphs by advances of
// its own that add up to more than the font's text extent (Wine's does, for
// unsmoothed glyphs of the fonts it falls back on), and the link must make
// room for what the user sees.
int CMyHyperLink::DrawnTextWidth(HDC dc, const std::wstring& text) {
    const int length = static_cast<int>(text.size());
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc, text.c_str(), length, &extent)) return 0;
    // A bitmap like the screen's, with room for glyphs reaching far out.
    const int width = extent.cx * 2 + 16;
    const int height = extent.cy + 4;
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    if (!bitmap) return extent.cx;
    {
        UniqueMemoryDc canvas(CreateCompatibleDC(dc));
        if (!canvas) return extent.cx;
        SelectGuard selected(canvas.Get(), bitmap.Get());
        SelectGuard font(canvas.Get(), GetCurrentObject(dc, OBJ_FONT));
        RECT all{0, 0, width, height};
        FillRect(canvas.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        TextColorGuard ink(canvas.Get(), RGB(0, 0, 0));
        BkModeGuard transparent(canvas.Get(), TRANSPARENT);
        TextOutW(canvas.Get(), 0, 0, text.c_str(), length);
    }
    // Read back once the bitmap is out of the canvas, as GetDIBits wants it.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    if (GetDIBits(dc, bitmap.Get(), 0, height, pixels.data(), &info, DIB_RGB_COLORS) != height)
        return extent.cx;
    for (int x = width - 1; x >= extent.cx; --x)
        for (int y = 0; y < height; ++y)
            if ((pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF) != 0xFFFFFF) return x + 1;
    return extent.cx;
}

void CMyHyperLink::FitToText() {
    // The link keeps its right edge and takes its text's drawn width, never
    // reaching past its parent's left edge. Its text is then written from the
    // left: text aligned to the right is placed by the font's extent, and
    // would lose its last letters past the edge wherever it is drawn wider.
    std::wstring text = GetWindowTextW();
    WindowDc dc(m_hWnd);
    if (text.empty() || dc.Get() == nullptr) return;
    SelectGuard font(dc.Get(), m_linkFont ? m_linkFont.Get()
                                          : reinterpret_cast<HFONT>(SendMessageW(WM_GETFONT)));
    const int textWidth = DrawnTextWidth(dc.Get(), text);
    if (textWidth <= 0) return; // left as the template has it
    RECT rect{};
    GetWindowRect(m_hWnd, &rect);
    HWND parent = GetParent(m_hWnd);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    const int left = rect.right - textWidth > 0 ? rect.right - textWidth : 0;
    SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) & ~WS_EX_RIGHT);
    SetWindowPos(m_hWnd, nullptr, left, rect.top, rect.right - left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMyHyperLink::ChooseCursor() {
    m_ownedCursor.Reset(CopyHelpViewerCursor(HelpViewerPath()));
    m_handCursor = m_ownedCursor.Get();
    // Without the help viewer the platform's own hand stands in; an empty
    // cursor would hide the pointer over the link.
    if (m_handCursor == nullptr) m_handCursor = LoadCursorW(nullptr, IDC_HAND);
    if (m_handCursor == nullptr) m_handCursor = LoadCursorW(nullptr, IDC_ARROW);
}

LRESULT CMyHyperLink::OnSetCursor(WPARAM, LPARAM) {
    SetCursor(m_handCursor);
    return TRUE;
}

LRESULT CMyHyperLink::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefaultProc(WM_MOUSEMOVE, wParam, lParam);
    if (!m_mouseOver) {
        m_mouseOver = true;
        RedrawNow();
        // Captured, the link also hears the move that takes the mouse off it.
        SetCapture(m_hWnd);
        return result;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (PtInRect(&client, point)) return result;
    m_mouseOver = false;
    ReleaseCapture();
    RedrawNow();
    return result;
}

LRESULT CMyHyperLink::OnCaptureChanged(WPARAM wParam, LPARAM lParam) {
    // Somebody else took the mouse (a menu, a message box): the link no longer
    // knows where it is, so it starts over at the next move.
    if (reinterpret_cast<HWND>(lParam) != m_hWnd && m_mouseOver) {
        m_mouseOver = false;
        RedrawNow();
    }
    return DefaultProc(WM_CAPTURECHANGED, wParam, lParam);
}

LRESULT CMyHyperLink::OnReflectedCtlColor(WPARAM wParam, LPARAM) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, m_mouseOver ? m_colourOver : m_colourNormal);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
}

bool CMyHyperLink::OnReflectedCommand(WPARAM wParam, LPARAM, LRESULT& result) {
    // Only the single click opens: a double click is a click, then STN_DBLCLK.
    if (HIWORD(wParam) != STN_CLICKED) return false;
    if (m_shellOpen) m_shellOpen(ShellCall{L"open", m_targetAddress, SW_SHOWMINIMIZED});
    Invalidate();
    result = 0;
    return true;
}
