// CMyHyperLink: a static text taken over as an underlined blue link with a
// hand cursor, which opens its address in the browser when clicked.
#pragma once

#include "controls/ShellCall.h"
#include "base/Handles.h"
#include "framework/Window.h"

#include <string>

class CMyHyperLink : public CWnd {
public:
    CMyHyperLink();

    bool AttachControl(HWND control) override;
    void SetTargetAddress(const std::wstring& address) { m_targetAddress = address; }

    // The shell call behind a seam (tests count the calls).
    void SetShellOpen(ShellOpener open) { m_shellOpen = std::move(open); }

    // The help viewer's hand cursor (resource 106 of `helpViewerPath`), copied
    // so the module can be freed again; null when it cannot be had.
    static HCURSOR CopyHelpViewerCursor(const std::wstring& helpViewerPath);
    // "%windir%\Winhlp32.exe".
    static std::wstring HelpViewerPath();

protected:
    using Self = CMyHyperLink;
    void OnAttached() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static const MessageEntry<CMyHyperLink> kMessageMap[];

    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnReflectedCtlColor(WPARAM wParam, LPARAM lParam);
    bool OnReflectedCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);

    void MakeLinkFont();
    void ChooseCursor();
    void FitToText();
    static int DrawnTextWidth(HDC dc, const std::wstring& text);

    HCURSOR m_handCursor = nullptr; // the cursor shown; owned only when a copy
    bool m_mouseOver = false;
    UniqueFont m_linkFont;
    std::wstring m_targetAddress;
    COLORREF m_colourOver = RGB(0, 0, 255);
    COLORREF m_colourNormal = RGB(0, 0, 255);
    UniqueCursor m_ownedCursor;
    ShellOpener m_shellOpen;
};
