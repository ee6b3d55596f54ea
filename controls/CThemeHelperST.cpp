#include "controls/CThemeHelperST.h"

#include "base/Library.h"

#include <cwchar>

CThemeHelperST::CThemeHelperST() : CThemeHelperST(L"UxTheme.dll") {}

CThemeHelperST::CThemeHelperST(const wchar_t* library) {
    if (library == nullptr) return;
    // A bare name comes from the system folder only, never from the program's
    // folder or the current directory, where anybody could plant a look-alike.
    const bool bareName = std::wcspbrk(library, L"\\/:") == nullptr;
    m_module.Reset(LoadLibraryFromKnownFolders(
        library, bareName ? LOAD_LIBRARY_SEARCH_SYSTEM32
                          : LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
}

FARPROC CThemeHelperST::Find(const char* name) const {
    return m_module ? GetProcAddress(m_module.Get(), name) : nullptr;
}

HTHEME CThemeHelperST::OpenThemeData(HWND window, const wchar_t* classList) const {
    using Fn = HTHEME(WINAPI*)(HWND, LPCWSTR);
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(Find("OpenThemeData")));
    return fn != nullptr ? fn(window, classList) : nullptr;
}

HRESULT CThemeHelperST::CloseThemeData(HTHEME theme) const {
    using Fn = HRESULT(WINAPI*)(HTHEME);
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(Find("CloseThemeData")));
    return fn != nullptr ? fn(theme) : E_FAIL;
}

HRESULT CThemeHelperST::DrawThemeBackground(HTHEME theme, HWND window, HDC dc, int part, int state,
                                            const RECT* rect, const RECT* clipRect) const {
    using ParentFn = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
    using Fn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    if (window != nullptr) {
        auto parent =
            reinterpret_cast<ParentFn>(reinterpret_cast<void*>(Find("DrawThemeParentBackground")));
        if (parent != nullptr) parent(window, dc, rect);
    }
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(Find("DrawThemeBackground")));
    return fn != nullptr ? fn(theme, dc, part, state, rect, clipRect) : E_FAIL;
}

bool CThemeHelperST::IsAppThemed() const {
    using Fn = BOOL(WINAPI*)();
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(Find("IsAppThemed")));
    return fn != nullptr && fn() != FALSE;
}
