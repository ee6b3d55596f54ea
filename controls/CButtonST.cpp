#include "controls/CButtonST.h"

const MessageEntry<CButtonST> CButtonST::kMessageMap[] = {
    {0, kAnyCode, kAnyId, nullptr}, // placeholder row; replaced by the full table
};

CButtonST::CButtonST() { ResetColors(false); }

CButtonST::~CButtonST() = default;

DWORD CButtonST::UseIconResources(int firstIconId, int secondIconId) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto load = [instance](int id) -> HICON {
        if (id == 0) return nullptr;
        return static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, 0));
    };
    return UseIconHandles(load(firstIconId), load(secondIconId));
}

DWORD CButtonST::UseIconHandles(HICON first, HICON second) {
    m_firstIcon = IconInfo{};
    m_secondIcon = IconInfo{};
    m_firstIcon.icon.Reset(first);
    m_secondIcon.icon.Reset(second);
    if (m_hWnd) Invalidate();
    return 0;
}

void CButtonST::UseFlatLook(bool flat, bool repaint) {
    m_flat = flat;
    if (repaint && m_hWnd) Invalidate();
}

void CButtonST::ResetColors(bool repaint) {
    m_backgroundOver = m_backgroundNormal = m_backgroundFocused = GetSysColor(COLOR_BTNFACE);
    m_foregroundOver = m_foregroundNormal = m_foregroundFocused = GetSysColor(COLOR_BTNTEXT);
    if (repaint && m_hWnd) Invalidate();
}

bool CButtonST::AttachControl(HWND control) { return SubclassWindow(control); }

void CButtonST::OnAttached() {}

bool CButtonST::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void CButtonST::DrawItem(const DRAWITEMSTRUCT&) {}
void CButtonST::PaintBackground(HDC, RECT&) {}
void CButtonST::PaintBorder(HDC, const RECT&) {}
void CButtonST::PaintIcon(HDC, bool, const RECT&, RECT&, bool, bool) {}
void CButtonST::PaintCaption(HDC, const wchar_t*, const RECT&, RECT&, bool, bool) {}
