// A modal dialog of the engine's own: its template comes from the engine's
// resources, its owner is the calling thread's active window, and the
// platform's dialog loop runs it (so Tab, Enter and Escape work as in any
// dialog). Nothing thrown inside leaves a window procedure.
#pragma once

#include <windows.h>

#include <string>

class EngineDialog {
public:
    virtual ~EngineDialog() = default;

protected:
    // Shows the dialog titled `caption` (the template's title when empty) and
    // returns once it has closed: the value given to End, or -1 when it could
    // not be shown.
    INT_PTR RunModal(int templateId, const wchar_t* caption);

    virtual void OnInit() = 0;
    // False leaves the message to the dialog manager.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    HWND Window() const { return m_window; }
    HWND Item(int id) const { return GetDlgItem(m_window, id); }
    void SetItemText(int id, const std::wstring& text) const;
    void End(INT_PTR result);

    // The display text of the recorder the engine was last given.
    static std::wstring ChosenRecorderText();

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CentreOnOwner() const;

    HWND m_window = nullptr;
    std::wstring m_caption;
};
