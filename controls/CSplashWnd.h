// CSplashWnd: the borderless start-up picture, shown centred for a moment or
// until the first key or mouse press anywhere in the program. There is at
// most one; it deletes itself once its window is gone.
#pragma once

#include "base/Handles.h"
#include "framework/Window.h"

class CSplashWnd : public CWnd {
public:
    // Whether the splash may show at all (set once from the command line; off
    // until the application says otherwise).
    static void SetSplashAllowed(bool allowed);
    // Shows the splash for `owner` unless disabled or already shown.
    static void OpenSplash(HWND owner);
    // Closes the splash on a key or mouse-button press; true: swallow it.
    static bool SplashFilterMessage(const MSG* message);
    // The current splash, or null.
    static CSplashWnd* Current();

    // Destroys the splash (and with it this object), then lets the main
    // window repaint at once where the picture was.
    void CloseSplash();
    SIZE BitmapSize() const;

    // Draws the picture into any DC (WM_PAINT and WM_PRINTCLIENT).
    void PaintContent(HDC dc);

protected:
    using Self = CSplashWnd;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PostNcDestroy() override;

private:
    CSplashWnd() = default;
    ~CSplashWnd() override;
    static const MessageEntry<CSplashWnd> kMessageMap[];

    bool Create(HWND owner);
    int OnCreate(CREATESTRUCTW* create);
    void OnPaint();
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR timerId);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    void CentreWindow();

    UniqueBitmap m_bitmap;
};
