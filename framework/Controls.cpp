#include "framework/Controls.h"

std::wstring CComboBox::GetLBText(int index) const {
    int length = GetLBTextLen(index);
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetLBText(index, text.data());
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring CListBox::GetText(int index) const {
    auto length = static_cast<int>(SendMessageW(LB_GETTEXTLEN, static_cast<WPARAM>(index)));
    if (length < 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    auto copied = static_cast<int>(SendMessageW(LB_GETTEXT, static_cast<WPARAM>(index),
                                                reinterpret_cast<LPARAM>(text.data())));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

int CListCtrl::InsertColumn(int index, const wchar_t* heading, int format, int width) const {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(heading);
    column.iSubItem = index;
    return static_cast<int>(SendMessageW(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int index, const wchar_t* text) const {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text);
    return static_cast<int>(SendMessageW(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int item, int subItem, const wchar_t* text) const {
    LVITEMW cell{};
    cell.iSubItem = subItem;
    cell.pszText = const_cast<wchar_t*>(text);
    return SendMessageW(LVM_SETITEMTEXTW, static_cast<WPARAM>(item),
                        reinterpret_cast<LPARAM>(&cell)) != 0;
}

std::wstring CListCtrl::GetItemText(int item, int subItem) const {
    // The control copies at most the buffer's size; grow until the text fits.
    std::wstring buffer(256, L'\0');
    for (;;) {
        LVITEMW cell{};
        cell.iSubItem = subItem;
        cell.pszText = buffer.data();
        cell.cchTextMax = static_cast<int>(buffer.size());
        auto copied = static_cast<size_t>(SendMessageW(LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                                                       reinterpret_cast<LPARAM>(&cell)));
        if (copied + 1 < buffer.size()) return buffer.substr(0, copied);
        buffer.assign(buffer.size() * 2, L'\0');
    }
}

bool CListCtrl::SetItemState(int item, UINT state, UINT mask) const {
    LVITEMW value{};
    value.state = state;
    value.stateMask = mask;
    return SendMessageW(LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                        reinterpret_cast<LPARAM>(&value)) != 0;
}
