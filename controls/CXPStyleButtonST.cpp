#include "controls/CXPStyleButtonST.h"

#include "controls/CThemeHelperST.h"

namespace {

// The theme's push-button part and its states.
constexpr int kPushButtonPart = 1;
constexpr int kStateNormal = 1;
constexpr int kStateHot = 2;
constexpr int kStatePressed = 3;
constexpr int kStateDisabled = 4;
constexpr int kStateDefaulted = 5;

} // namespace

CXPStyleButtonST::CXPStyleButtonST() {
    m_drawBorder = false;
}

void CXPStyleButtonST::AttachThemeHelper(const CThemeHelperST* helper) {
    m_themeHelper = helper;
    if (helper == nullptr || !helper->IsAppThemed()) m_drawBorder = true;
}

bool CXPStyleButtonST::IsThemed() const {
    return m_themeHelper != nullptr && m_themeHelper->IsAppThemed();
}

int CXPStyleButtonST::ThemeState() const {
    // Later rules win: disabled over pressed over hot over defaulted.
    if (m_disabled) return kStateDisabled;
    if (m_pressed) return kStatePressed;
    if (m_mouseOver) return kStateHot;
    if (m_defaultButton) return kStateDefaulted;
    return kStateNormal;
}

void CXPStyleButtonST::PaintBackground(HDC dc, RECT& rect) {
    if (!IsThemed()) {
        CButtonST::PaintBackground(dc, rect);
        return;
    }
    HTHEME theme = m_themeHelper->OpenThemeData(m_hWnd, L"BUTTON");
    if (theme == nullptr) {
        CButtonST::PaintBackground(dc, rect);
        return;
    }
    // The parent's background first, so the theme's rounded corners show it.
    m_themeHelper->DrawThemeBackground(theme, m_hWnd, dc, kPushButtonPart, ThemeState(), &rect,
                                       nullptr);
    m_themeHelper->CloseThemeData(theme);
}

void CXPStyleButtonST::PaintBorder(HDC dc, const RECT& rect) {
    // A themed face includes its border.
    if (IsThemed()) return;
    CButtonST::PaintBorder(dc, rect);
}
