// CDialog: a dialog from a template, run by our own modal loop. The loop gives
// every queued message to the application's PreTranslateMessage first and
// never calls IsDialogMessage, so the dialog manager does not see keyboard
// input: Tab, Enter and Escape go to the focused control alone.
//
// A dialog whose window may outlive its loop (one made with Create) destroys
// the window in its most derived destructor, so that the window's last
// messages still meet the whole object; the base only checks it is gone.
#pragma once

#include "framework/DataExchange.h"
#include "framework/Window.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    ~CDialog() override;

    // Creates the dialog, shows it and runs the modal loop until EndDialog or
    // the window's destruction. Returns the EndDialog result, or -1.
    INT_PTR DoModal();

    // Creates the dialog without a loop (the dialog tests drive it with
    // messages). Returns false when the window could not be created. The
    // window is shown unless the dialog ended during its initialisation.
    bool Create();

    // Ends the modal loop with `result`; the window is hidden at once and
    // destroyed when the loop returns.
    void EndDialog(INT_PTR result);

    bool HasEnded() const { return m_ended; }
    INT_PTR Result() const { return m_result; }

    // Runs the data exchange: true takes the controls into the members, false
    // shows the members in the controls.
    void UpdateData(bool saveAndValidate);

protected:
    using Self = CDialog;

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(DataExchange& dx);

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    UINT m_templateId;
    HWND m_parent;

private:
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    static BOOL CALLBACK SendToChild(HWND child, LPARAM message);

    bool m_ended = false;
    INT_PTR m_result = -1;
};
