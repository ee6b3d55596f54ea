// What the control tests share: a window that hosts controls the way the
// dialog does (reflecting their notifications, recording its commands), a
// memory bitmap to draw into and read back, and a solid test icon.
#pragma once

#include "framework/Handles.h"
#include "framework/Window.h"

#include <functional>
#include <vector>

class ControlHost : public CWnd {
public:
    // A visible top-level window at (100, 100), 420 by 320 pixels.
    ControlHost();
    ~ControlHost() override;

    HWND AddButton(int id, const wchar_t* caption, const RECT& place, DWORD type = BS_PUSHBUTTON);
    HWND AddStatic(int id, const wchar_t* text, const RECT& place);

    // A font without smoothing, so that text pixels have exact colours.
    HFONT Font() const { return m_font.Get(); }

    struct Command {
        int id;
        int code;
    };
    std::vector<Command> commands; // WM_COMMANDs that reached the host itself
    int CountCommands(int id, int code) const;

protected:
    using Self = ControlHost;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    UniqueFont m_font;
};

// A 32-bit top-down DIB selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc.Get(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;

    using Match = std::function<bool(COLORREF)>;
    // The smallest rectangle holding every matching pixel of `area` (the whole
    // canvas by default); empty when none matches.
    RECT BoundsOf(const Match& match) const;
    RECT BoundsOf(const Match& match, const RECT& area) const;
    int Count(const Match& match) const;

private:
    int m_width;
    int m_height;
    UniqueMemoryDc m_dc;
    UniqueBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    const DWORD* m_bits = nullptr;
};

std::function<bool(COLORREF)> Is(COLORREF colour);
bool IsEmpty(const RECT& rect);

// A square icon of one opaque colour.
HICON MakeSolidIcon(COLORREF colour, int size = 16);

// A draw request for `window` as the button would send it.
DRAWITEMSTRUCT DrawRequest(HWND window, HDC dc, UINT state);

// Handles every message already queued.
void PumpMessages();

// Full path of a file next to the test program.
std::wstring BesideTheProgram(const wchar_t* name);
