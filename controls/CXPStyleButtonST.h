// CXPStyleButtonST: a CButtonST whose face and border come from the theme
// engine when the application is themed.
#pragma once

#include "controls/CButtonST.h"

class CThemeHelperST;

class CXPStyleButtonST : public CButtonST {
public:
    CXPStyleButtonST();

    void AttachThemeHelper(const CThemeHelperST* helper);

protected:
    void PaintBackground(HDC dc, RECT& rect) override;
    void PaintBorder(HDC dc, const RECT& rect) override;

private:
    bool IsThemed() const;
    const CThemeHelperST* m_themeHelper = nullptr;
};
