// A 32-bit top-down memory bitmap to draw controls into and read back.
#pragma once

#include "base/Handles.h"

#include <algorithm>

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255)) : m_width(width) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
        void* bits = nullptr;
        m_dc.Reset(CreateCompatibleDC(nullptr));
        m_bitmap.Reset(CreateDIBSection(m_dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<const DWORD*>(bits);
        SelectObject(m_dc.Get(), m_bitmap.Get());
        RECT all{0, 0, width, height};
        UniqueBrush brush(CreateSolidBrush(fill));
        FillRect(m_dc.Get(), &all, brush.Get());
    }

    HDC Dc() const { return m_dc.Get(); }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const DWORD pixel = m_bits[y * m_width + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // The smallest rectangle of `area` holding every pixel of `colour`;
    // right <= left when there is none.
    RECT BoundsOf(COLORREF colour, const RECT& area) const {
        RECT bounds{area.right, area.bottom, area.left, area.top};
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (At(x, y) == colour) {
                    bounds.left = std::min<LONG>(bounds.left, x);
                    bounds.top = std::min<LONG>(bounds.top, y);
                    bounds.right = std::max<LONG>(bounds.right, x + 1);
                    bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
                }
        return bounds;
    }
    // Pixels of `area` where `other`, moved by (dx, dy), is not the same.
    int Differences(const Canvas& other, const RECT& area, int dx = 0, int dy = 0) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (At(x, y) != other.At(x + dx, y + dy)) ++count;
        return count;
    }

private:
    int m_width;
    UniqueBitmap m_bitmap; // deleted after the DC that holds it
    UniqueMemoryDc m_dc;
    const DWORD* m_bits = nullptr;
};
