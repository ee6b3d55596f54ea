// One DoDataExchange serves both directions: taking (controls into members)
// and showing (members into controls).
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class DataExchange {
public:
    DataExchange(HWND dialog, bool saveAndValidate) : m_dialog(dialog), m_saving(saveAndValidate) {}

    bool IsSaving() const { return m_saving; }
    HWND Dialog() const { return m_dialog; }

    // Attaches the control object to control `id` the first time it is seen.
    void Control(int id, CWnd& control);

    // A check box: 0 unchecked, 1 checked, 2 indeterminate. When showing, a
    // value outside 0..2 is first set to 0.
    void Check(int id, int& value);

    void Text(int id, std::wstring& value);

private:
    HWND m_dialog;
    bool m_saving;
};
