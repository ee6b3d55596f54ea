// CButtonST: an owner-drawn push button with a small icon beside its caption,
// drawn in the classic 3D look. It takes over an existing push button, turns
// it owner-drawn and draws itself from the reflected WM_DRAWITEM.
#pragma once

#include "base/Handles.h"
#include "framework/Window.h"

class CButtonST : public CWnd {
public:
    CButtonST();
    ~CButtonST() override;

    // Loads the icons from the program's resources at their own size (0: none).
    DWORD UseIconResources(int firstIconId, int secondIconId);
    // Takes ownership of the icons; 0, or 1 when an icon cannot be read (the
    // button is then left without icons).
    DWORD UseIconHandles(HICON first, HICON second);
    void UseFlatLook(bool flat, bool repaint);
    void ResetColors(bool repaint);

    bool AttachControl(HWND control) override;

    // The whole button drawn for one draw request, into the request's DC.
    void DrawItem(const DRAWITEMSTRUCT& item);

protected:
    using Self = CButtonST;

    // The drawing steps, in the order DrawItem calls them. PaintBackground may
    // shrink the rectangle (the black frame of a focused classic button).
    virtual void PaintBackground(HDC dc, RECT& rect);
    virtual void PaintBorder(HDC dc, const RECT& rect);
    virtual void PaintIcon(HDC dc, bool hasCaption, const RECT& itemRect, RECT& captionRect,
                           bool pressed, bool disabled);
    virtual void PaintCaption(HDC dc, const wchar_t* text, const RECT& itemRect, RECT& captionRect,
                              bool pressed, bool disabled);

    void OnAttached() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    struct IconInfo {
        UniqueIcon icon;
        int width = 0;
        int height = 0;
    };

    int m_imageMargin = 3;
    int m_pressOffsetX = 1;
    int m_pressOffsetY = 1;
    bool m_flat = true;
    bool m_mouseOver = false;
    bool m_pressed = false;
    bool m_focused = false;
    bool m_disabled = false;
    bool m_defaultButton = false;
    bool m_drawBorder = true;
    COLORREF m_backgroundOver = 0, m_foregroundOver = 0;
    COLORREF m_backgroundNormal = 0, m_foregroundNormal = 0;
    COLORREF m_backgroundFocused = 0, m_foregroundFocused = 0;
    IconInfo m_firstIcon;
    IconInfo m_secondIcon;

private:
    static const MessageEntry<CButtonST> kMessageMap[];

    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    bool OnReflectedCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OnReflectedCtlColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnReflectedDrawItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnable(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysColorChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnCancelMode(WPARAM wParam, LPARAM lParam);

    // Ends the flat look's mouse-over state, repainting.
    void EndMouseOver();
    COLORREF BackgroundColour() const;
    COLORREF TextColour() const;
};
