#include "controls/CSizeRange.h"

#include "framework/Handles.h"
#include "framework/Text.h"

const MessageEntry<CSizeRange> CSizeRange::kMessageMap[] = {
    ON_WM_PAINT(OnPaint),                       // void OnPaint()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient),  // LRESULT OnPrintClient(WPARAM, LPARAM)
};

CSizeRange::CSizeRange() = default;

bool CSizeRange::AttachToDialogItem(int id, HWND parent) {
    m_controlId = id;
    return SubclassDlgItem(id, parent);
}

void CSizeRange::SetUnitText(const char* text) { m_unitText = FromAnsi(text); }

void CSizeRange::AddLine(int position, COLORREF colour, bool solid) {
    m_lines.push_back(LINE_DATA{position, colour, solid});
}

void CSizeRange::AddColorChange(int position, COLORREF colour) {
    m_colorChanges.push_back(COLOR_CHANGE{position, colour});
}

bool CSizeRange::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result) {
    return DispatchMessageMap(kMessageMap, *this, message, wParam, lParam, result);
}

void CSizeRange::OnPaint() {
    PaintGuard paint(m_hWnd);
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    PaintContent(paint.Dc(), window);
}

LRESULT CSizeRange::OnPrintClient(WPARAM wParam, LPARAM) {
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    PaintContent(reinterpret_cast<HDC>(wParam), window);
    return 0;
}

void CSizeRange::PaintContent(HDC dc, const RECT& windowRect) {
    m_width = windowRect.right - windowRect.left;
    m_height = windowRect.bottom - windowRect.top;
    RECT client{0, 0, m_width, m_height};
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}
