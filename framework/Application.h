// CWinApp: the one application object. Its constructor makes it the current
// application; WinMain runs InitInstance and ends the program when it returns.
#pragma once

#include <windows.h>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    static CWinApp* Current();

    // Returns whether a message loop should run afterwards (ours never does).
    virtual bool InitInstance() = 0;

    // Every queued message of a modal loop comes here before it is dispatched.
    // The default gives it to the objects of its window and its parents.
    virtual bool PreTranslateMessage(MSG* message);

    HWND MainWindow() const { return m_mainWindow; }
    void SetMainWindow(HWND window) { m_mainWindow = window; }

    // What WinMain calls.
    int Run();

private:
    HWND m_mainWindow = nullptr;
};
