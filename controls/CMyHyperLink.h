// CMyHyperLink: a static text taken over as an underlined blue link that opens
// its address in the browser.
#pragma once

#include "framework/Handles.h"
#include "framework/Window.h"

#include <functional>
#include <string>

class CMyHyperLink : public CWnd {
public:
    CMyHyperLink();

    bool AttachControl(HWND control) override;
    void SetTargetAddress(const std::wstring& address) { m_targetAddress = address; }
    const std::wstring& TargetAddress() const { return m_targetAddress; }

    // The shell call behind a seam (tests count the calls).
    using ShellOpen = std::function<void(const std::wstring& address, int showCommand)>;
    void SetShellOpen(ShellOpen open) { m_shellOpen = std::move(open); }

protected:
    using Self = CMyHyperLink;
    void OnAttached() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

private:
    static const MessageEntry<CMyHyperLink> kMessageMap[];

    HCURSOR m_handCursor = nullptr;
    bool m_mouseOver = false;
    UniqueFont m_linkFont;
    std::wstring m_targetAddress;
    COLORREF m_colourOver = RGB(0, 0, 255);
    COLORREF m_colourNormal = RGB(0, 0, 255);
    ShellOpen m_shellOpen;
};
