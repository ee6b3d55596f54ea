// A 32-bit memory bitmap to paint controls into and read back pixel by pixel.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class RulerCanvas {
public:
    // Filled with `background` before anything paints.
    RulerCanvas(int width, int height, COLORREF background = RGB(255, 0, 255));
    ~RulerCanvas();
    RulerCanvas(const RulerCanvas&) = delete;
    RulerCanvas& operator=(const RulerCanvas&) = delete;

    HDC Dc() const { return m_dc.Get(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    COLORREF Pixel(int x, int y) const; // as RGB(), outside the bitmap: CLR_INVALID
    std::vector<uint32_t> Pixels() const;

    // Asks `window` to paint its client area into this bitmap.
    void PrintClientOf(HWND window);

private:
    int m_width;
    int m_height;
    UniqueMemoryDc m_dc;
    UniqueBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    uint32_t* m_bits = nullptr;
};

// The size of a window in pixels.
SIZE WindowSize(HWND window);
