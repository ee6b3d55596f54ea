#include "controls/CSizeRange.h"

#include "base/Handles.h"
#include "base/Text.h"

#include <algorithm>

namespace {

constexpr COLORREF kShadowColour = RGB(50, 50, 50);
constexpr COLORREF kInkColour = RGB(0, 0, 0);
constexpr int kLabelFontHeight = 15;
constexpr int kMarkerWidth = 2;

// Fractional positions become pixels by truncation toward zero. Values far
// outside any window are held inside GDI's coordinate space.
int ToPixel(double value) {
    constexpr double kLimit = 1 << 27;
    if (!(value > -kLimit)) return -static_cast<int>(kLimit); // NaN too
    if (value > kLimit) return static_cast<int>(kLimit);
    return static_cast<int>(value);
}

void VerticalLine(HDC dc, int x, int top, int bottom) {
    MoveToEx(dc, x, top, nullptr);
    LineTo(dc, x, bottom);
}

void FillSolid(HDC dc, int left, int top, int width, int height, COLORREF colour) {
    if (width <= 0 || height <= 0) return;
    UniqueBrush brush(CreateSolidBrush(colour));
    RECT area{left, top, left + width, top + height};
    FillRect(dc, &area, brush.Get());
}

class TextAlignGuard {
public:
    TextAlignGuard(HDC dc, UINT align) : m_dc(dc), m_old(SetTextAlign(dc, align)) {}
    ~TextAlignGuard() {
        if (m_old != GDI_ERROR) SetTextAlign(m_dc, m_old);
    }
    TextAlignGuard(const TextAlignGuard&) = delete;
    TextAlignGuard& operator=(const TextAlignGuard&) = delete;

private:
    HDC m_dc;
    UINT m_old;
};

} // namespace

const MessageEntry<CSizeRange> CSizeRange::kMessageMap[] = {
    ON_WM_PAINT(OnPaint),                      // void OnPaint()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient), // LRESULT OnPrintClient(WPARAM, LPARAM)
};

CSizeRange::CSizeRange() = default;

bool CSizeRange::AttachToDialogItem(int id, HWND parent) {
    return SubclassDlgItem(id, parent);
}

void CSizeRange::SetUnitText(const char* text) {
    m_unitText = FromAnsi(text);
}

void CSizeRange::AddLine(int position, COLORREF colour, bool solid) {
    m_lines.push_back(LINE_DATA{position, colour, solid});
}

void CSizeRange::AddColorChange(int position, COLORREF colour) {
    m_colorChanges.push_back(COLOR_CHANGE{position, colour});
}

bool CSizeRange::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchMessageMap(kMessageMap, *this, message, wParam, lParam, result);
}

RECT CSizeRange::WindowRectInClient() const {
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&window), 2);
    return window;
}

void CSizeRange::OnPaint() {
    PaintGuard paint(m_hWnd);
    PaintContent(paint.Dc(), WindowRectInClient());
}

LRESULT CSizeRange::OnPrintClient(WPARAM wParam, LPARAM) {
    PaintContent(reinterpret_cast<HDC>(wParam), WindowRectInClient());
    return 0;
}

void CSizeRange::PaintContent(HDC dc, const RECT& windowRect) {
    m_width = windowRect.right - windowRect.left;
    m_height = windowRect.bottom - windowRect.top;
    FillRect(dc, &windowRect, GetSysColorBrush(COLOR_BTNFACE));
    // Without a positive span there is no scale to draw on.
    if (m_maxValue <= 0 || m_width <= 0 || m_height <= 0) return;
    const double scale = static_cast<double>(m_width) / m_maxValue;

    // Ticks and labels in the ink of a fresh paint context, whatever DC we
    // were handed.
    SelectGuard ink(dc, GetStockObject(BLACK_PEN));
    TextColorGuard text(dc, kInkColour);
    DrawMinorTicks(dc, scale);
    DrawLabels(dc, scale);
    DrawMarkerLines(dc, scale);
    DrawColorBands(dc, scale);
}

void CSizeRange::DrawMinorTicks(HDC dc, double scale) const {
    if (m_minorTickStep <= 0) return;
    const int count = m_maxValue / m_minorTickStep;
    const int bottom = ToPixel(m_height * 0.2);
    if (count <= 0) return;
    if (m_minorTickStep * scale < 1.0) {
        // Ticks less than a pixel apart hit every column up to the last one;
        // drawing the columns keeps a huge count from stalling the paint.
        const int last = ToPixel(static_cast<double>((count - 1) * m_minorTickStep) * scale);
        for (int x = 0; x <= last; ++x)
            VerticalLine(dc, x, 0, bottom);
        return;
    }
    for (int i = 0; i < count; ++i)
        VerticalLine(dc, ToPixel(static_cast<double>(i * m_minorTickStep) * scale), 0, bottom);
}

void CSizeRange::DrawLabels(HDC dc, double scale) const {
    // Labels less than a pixel apart could not be read; they are left out.
    if (m_labelStep <= 0 || m_labelStep * scale < 1.0) return;
    UniqueFont font(CreateFontW(kLabelFontHeight, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET, 0,
                                0, 0, 0, L"Arial"));
    SelectGuard selected(dc, font.Get());
    BkModeGuard transparent(dc, TRANSPARENT);
    TextAlignGuard align(dc, TA_CENTER | TA_TOP);

    const long long count = m_maxValue / m_labelStep + 1LL;
    const int tickBottom = ToPixel(m_height * 0.5);
    const int textTop = ToPixel(m_height * 0.6);
    for (long long j = 0; j < count; ++j) {
        const long long value = j * m_labelStep;
        const int x = ToPixel(static_cast<double>(value) * scale);
        // x only grows, so the first label past 95 % ends the row.
        if (!(m_width * 0.95 > x)) break;
        VerticalLine(dc, x, 0, tickBottom);
        std::wstring label = std::to_wstring(value) + m_unitText;
        TextOutW(dc, x, textTop, label.c_str(), static_cast<int>(label.size()));
    }
}

void CSizeRange::DrawMarkerLines(HDC dc, double scale) const {
    for (const LINE_DATA& line : m_lines) {
        UniquePen pen(CreatePen(line.bSolid ? PS_SOLID : PS_DOT, kMarkerWidth, line.crColor));
        SelectGuard selected(dc, pen.Get());
        VerticalLine(dc, ToPixel(line.nPos * scale), 0, m_height);
    }
}

void CSizeRange::DrawColorBands(HDC dc, double scale) const {
    // A value beyond the scale fills it; the stored value stays as it is.
    const int current = std::min(m_currentValue, m_maxValue);
    const int xEnd = ToPixel(current * scale);
    for (const COLOR_CHANGE& change : m_colorChanges) {
        if (change.nPos > current) continue;
        const double xs = change.nPos * scale;
        const double width = xEnd - xs;
        FillSolid(dc, ToPixel(xs + 1), ToPixel(m_height * 0.1 + 1), ToPixel(width + 1),
                  ToPixel(m_height * 0.3 + 1), kShadowColour);
        FillSolid(dc, ToPixel(xs), ToPixel(m_height * 0.1), ToPixel(width), ToPixel(m_height * 0.3),
                  change.crColor);
    }
}
