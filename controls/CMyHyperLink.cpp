#include "controls/CMyHyperLink.h"

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
    WidenToText();
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

void CMyHyperLink::WidenToText() {
    // A host name wider than the control would lose its first letters to the
    // edge; the link grows to the left (its right edge stays) until it shows
    // the whole text, never past its parent's left edge.
    std::wstring text = GetWindowTextW();
    WindowDc dc(m_hWnd);
    if (text.empty() || dc.Get() == nullptr) return;
    SelectGuard font(dc.Get(), m_linkFont ? m_linkFont.Get()
                                          : reinterpret_cast<HFONT>(SendMessageW(WM_GETFONT)));
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent))
        return;
    RECT rect{};
    GetWindowRect(m_hWnd, &rect);
    HWND parent = GetParent(m_hWnd);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    const int needed = extent.cx + 2;
    if (rect.right - rect.left >= needed) return;
    const int left = rect.right - needed > 0 ? rect.right - needed : 0;
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
