#include "tests/compilation/RulerCanvas.h"

RulerCanvas::RulerCanvas(int width, int height, COLORREF background)
    : m_width(width), m_height(height), m_dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap.Reset(CreateDIBSection(m_dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_bits = static_cast<uint32_t*>(bits);
    // The bitmap stays selected for the canvas's life; put back before both go.
    m_oldBitmap = SelectObject(m_dc.Get(), m_bitmap.Get());
    UniqueBrush fill(CreateSolidBrush(background));
    RECT all{0, 0, width, height};
    FillRect(m_dc.Get(), &all, fill.Get());
}

RulerCanvas::~RulerCanvas() {
    if (m_oldBitmap != nullptr) SelectObject(m_dc.Get(), m_oldBitmap);
}

COLORREF RulerCanvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_bits == nullptr) return CLR_INVALID;
    GdiFlush();
    uint32_t bgr = m_bits[static_cast<size_t>(y) * m_width + x];
    return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
}

std::vector<uint32_t> RulerCanvas::Pixels() const {
    GdiFlush();
    return std::vector<uint32_t>(m_bits, m_bits + static_cast<size_t>(m_width) * m_height);
}

void RulerCanvas::PrintClientOf(HWND window) {
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_dc.Get()), PRF_CLIENT);
}

SIZE WindowSize(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}
