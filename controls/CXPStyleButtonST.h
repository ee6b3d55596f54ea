// CXPStyleButtonST: a CButtonST whose face and border come from the theme
// engine when the application is themed; otherwise the classic look.
#pragma once

#include "controls/CButtonST.h"

class CThemeHelperST;

class CXPStyleButtonST : public CButtonST {
public:
    CXPStyleButtonST();

    // The dialog's shared helper (not owned). Without one, or when the
    // application is not themed, flat buttons get their thin frame back.
    void AttachThemeHelper(const CThemeHelperST* helper);

protected:
    void PaintBackground(HDC dc, RECT& rect) override;
    void PaintBorder(HDC dc, const RECT& rect) override;

private:
    // Asked at every draw, so switching visual styles shows at the next paint.
    bool IsThemed() const;
    int ThemeState() const;

    const CThemeHelperST* m_themeHelper = nullptr;
};
