// CSplashWnd: the borderless start-up picture, shown centred for a moment or
// until the first key or mouse press anywhere in the program.
#pragma once

#include "framework/Handles.h"
#include "framework/Window.h"

class CSplashWnd : public CWnd {
public:
    // Whether the splash may show at all (set once from the command line).
    static void SetSplashAllowed(bool allowed);
    // Shows the splash over `owner` unless disabled or already shown.
    static void OpenSplash(HWND owner);
    // Closes the splash on a key or mouse-button press; true: swallow it.
    static bool SplashFilterMessage(const MSG* message);
    // The current splash, or null.
    static CSplashWnd* Current();

    void CloseSplash();
    SIZE BitmapSize() const;

protected:
    using Self = CSplashWnd;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;
    void PostNcDestroy() override;

private:
    CSplashWnd() = default;
    ~CSplashWnd() override;
    static const MessageEntry<CSplashWnd> kMessageMap[];

    bool Create(HWND owner);
    int OnCreate(CREATESTRUCTW* create);
    void OnPaint();
    void OnTimer(UINT_PTR timerId);
    void PaintContent(HDC dc);

    UniqueBitmap m_bitmap;
};
