#include "controls/CXPStyleButtonST.h"

#include "controls/CThemeHelperST.h"

CXPStyleButtonST::CXPStyleButtonST() { m_drawBorder = false; }

void CXPStyleButtonST::AttachThemeHelper(const CThemeHelperST* helper) {
    m_themeHelper = helper;
    if (helper == nullptr || !helper->IsAppThemed()) m_drawBorder = true;
}

bool CXPStyleButtonST::IsThemed() const {
    return m_themeHelper != nullptr && m_themeHelper->IsAppThemed();
}

void CXPStyleButtonST::PaintBackground(HDC dc, RECT& rect) { CButtonST::PaintBackground(dc, rect); }
void CXPStyleButtonST::PaintBorder(HDC dc, const RECT& rect) { CButtonST::PaintBorder(dc, rect); }
