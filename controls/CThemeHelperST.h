// CThemeHelperST: the theme library bound at run time by name, each function
// looked up at every call, with safe fallbacks when the library or the
// function is missing.
#pragma once

#include "base/Handles.h"

#include <windows.h>

using HTHEME = HANDLE;

class CThemeHelperST {
public:
    CThemeHelperST(); // loads "UxTheme.dll"
    // Another library (a full path, or a bare name from the system folder), or
    // none at all: the fallbacks then stand in for every function.
    explicit CThemeHelperST(const wchar_t* library);
    ~CThemeHelperST() = default;

    HTHEME OpenThemeData(HWND window, const wchar_t* classList) const;
    HRESULT CloseThemeData(HTHEME theme) const;
    HRESULT DrawThemeBackground(HTHEME theme, HWND window, HDC dc, int part, int state,
                                const RECT* rect, const RECT* clipRect) const;
    bool IsAppThemed() const;

private:
    FARPROC Find(const char* name) const;
    UniqueModule m_module;
};
