// CWnd: the window base of our framework. It holds an HWND and never owns a
// window it merely wraps. Windows it creates from a registered class bind
// `this` at WM_NCCREATE; existing controls are taken over with
// SetWindowSubclass and released again at WM_NCDESTROY. Child notifications
// are reflected to the child's own object before the parent's map sees them.
#pragma once

#include "framework/MessageMap.h"

#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND Hwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object that subclassed or created `window`, if any.
    static CWnd* FromHandle(HWND window);

    // Data exchange attaches control objects through this. Plain wrappers just
    // remember the handle; classes with a message map take the control over.
    virtual bool AttachControl(HWND control);

    // Takes over an existing window with SetWindowSubclass.
    bool SubclassWindow(HWND window);
    bool SubclassDlgItem(int id, HWND parent);

    // Creates a window of a class registered by RegisterWindowClass; `this` is
    // bound at WM_NCCREATE.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU menu = nullptr);
    static bool RegisterWindowClass(const wchar_t* className, UINT classStyle, HCURSOR cursor,
                                    HBRUSH background, HICON icon);

    // Window-text and state helpers.
    std::wstring GetWindowTextW() const;
    void SetWindowTextW(const std::wstring& text) const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void Invalidate(bool erase = true) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    // Keeps the window's left, top and width; sets its outer height.
    void SetOuterHeight(int height) const;
    void RedrawNow() const {
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    LRESULT SendMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }

    // Called for queued messages of this window (and of its children, walking
    // up) before they are dispatched. True: the message was consumed.
    virtual bool PreTranslateMessage(MSG* message);

    // Gives a queued message to the objects of its window and of every parent
    // up to (and including) `top`, innermost first.
    static bool WalkPreTranslateTree(HWND top, MSG* message);

protected:
    // The message map hook: true when handled, with the result set.
    virtual bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // What the window would have done without us: DefSubclassProc for a
    // subclassed control, DefWindowProc for our own windows.
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Called once the handle is known, before the first message reaches the
    // object (for a control being taken over).
    virtual void OnAttached() {}

    // Called after the window is gone (WM_NCDESTROY, after the default
    // handling); the handle is already cleared.
    virtual void PostNcDestroy() {}

    HWND m_hWnd = nullptr;

private:
    friend class CDialog;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Detach();

    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR subclassId, DWORD_PTR refData);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool m_subclassed = false;
};
