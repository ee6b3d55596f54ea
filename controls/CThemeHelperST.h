// CThemeHelperST: the theme library bound at run time by name, each function
// looked up at every call, with safe fallbacks when the library or the
// function is missing.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

using HTHEME = HANDLE;

class CThemeHelperST {
public:
    CThemeHelperST();                                 // loads "UxTheme.dll"
    explicit CThemeHelperST(const wchar_t* library);  // tests: another name, or none
    ~CThemeHelperST() = default;

    HTHEME OpenThemeData(HWND window, const wchar_t* classList) const;
    HRESULT CloseThemeData(HTHEME theme) const;
    HRESULT DrawThemeBackground(HTHEME theme, HWND window, HDC dc, int part, int state,
                                const RECT* rect, const RECT* clipRect) const;
    bool IsAppThemed() const;

    bool IsLibraryLoaded() const { return static_cast<bool>(m_module); }

private:
    FARPROC Find(const char* name) const;
    UniqueModule m_module;
};
