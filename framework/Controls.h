// Thin wrappers over the platform's controls. They hold a handle and never own
// the window; every method is one SendMessageW.
#pragma once

#include "framework/Window.h"

#include <commctrl.h>

#include <string>

class CEdit : public CWnd {};

class CProgressCtrl : public CWnd {
public:
    void SetRange(int lower, int upper) const {
        SendMessageW(PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
    }
    int SetPos(int position) const {
        return static_cast<int>(SendMessageW(PBM_SETPOS, static_cast<WPARAM>(position)));
    }
};

class CComboBox : public CWnd {
public:
    int AddString(const wchar_t* text) const {
        return static_cast<int>(SendMessageW(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int GetCount() const { return static_cast<int>(SendMessageW(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessageW(CB_GETCURSEL)); }
    int SetCurSel(int index) const {
        return static_cast<int>(SendMessageW(CB_SETCURSEL, static_cast<WPARAM>(index)));
    }
    int GetLBTextLen(int index) const {
        return static_cast<int>(SendMessageW(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
    }
    // Copies an entry's text into `buffer`, which must hold GetLBTextLen + 1.
    int GetLBText(int index, wchar_t* buffer) const {
        return static_cast<int>(SendMessageW(CB_GETLBTEXT, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(buffer)));
    }
    std::wstring GetLBText(int index) const;
};

class CListBox : public CWnd {
public:
    int AddString(const wchar_t* text) const {
        return static_cast<int>(SendMessageW(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    void ResetContent() const { SendMessageW(LB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessageW(LB_GETCOUNT)); }
    std::wstring GetText(int index) const;
};

class CListCtrl : public CWnd {
public:
    int InsertColumn(int index, const wchar_t* heading, int format, int width) const;
    DWORD SetExtendedStyle(DWORD style) const {
        return static_cast<DWORD>(SendMessageW(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
    }
    DWORD GetExtendedStyle() const {
        return static_cast<DWORD>(SendMessageW(LVM_GETEXTENDEDLISTVIEWSTYLE));
    }
    int GetItemCount() const { return static_cast<int>(SendMessageW(LVM_GETITEMCOUNT)); }
    // The next item after `start` (-1: from the top) with all of `flags`.
    int GetNextItem(int start, int flags) const {
        return static_cast<int>(
            SendMessageW(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }
    int FirstSelected() const { return GetNextItem(-1, LVNI_SELECTED); }
    int InsertItem(int index, const wchar_t* text) const;
    bool SetItemText(int item, int subItem, const wchar_t* text) const;
    std::wstring GetItemText(int item, int subItem) const;
    bool DeleteItem(int item) const {
        return SendMessageW(LVM_DELETEITEM, static_cast<WPARAM>(item)) != 0;
    }
    bool DeleteAllItems() const { return SendMessageW(LVM_DELETEALLITEMS) != 0; }
    UINT GetItemState(int item, UINT mask) const {
        return static_cast<UINT>(SendMessageW(LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
    }
    bool SetItemState(int item, UINT state, UINT mask) const;
};
