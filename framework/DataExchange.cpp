#include "framework/DataExchange.h"

#include "framework/Window.h"

void DataExchange::Control(int id, CWnd& control) {
    if (control.Hwnd() != nullptr) return;
    control.AttachControl(GetDlgItem(m_dialog, id));
}

void DataExchange::Check(int id, int& value) {
    HWND box = GetDlgItem(m_dialog, id);
    if (m_saving) {
        value = static_cast<int>(SendMessageW(box, BM_GETCHECK, 0, 0));
        return;
    }
    if (value < 0 || value > 2) value = 0;
    SendMessageW(box, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DataExchange::Text(int id, std::wstring& value) {
    HWND control = GetDlgItem(m_dialog, id);
    if (m_saving) {
        int length = GetWindowTextLengthW(control);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        int copied = GetWindowTextW(control, text.data(), length + 1);
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        value = std::move(text);
        return;
    }
    SetWindowTextW(control, value.c_str());
}
