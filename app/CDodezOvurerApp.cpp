#include "app/CDodezOvurerApp.h"

#include "app/CDodezOvurerDlg.h"
#include "compilation/FileChooser.h"
#include "controls/CSplashWnd.h"
#include "engine/EngineBinding.h"
#include "framework/CommandLine.h"

#include <commctrl.h>
#include <objbase.h>

bool CDodezOvurerApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // The Open dialog and the shell calls want COM on this thread.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    CSplashWnd::SetSplashAllowed(ParseCommandLine(ProgramArguments()).SplashAllowed());

    // A missing engine leaves the binding empty; the dialog then shows its
    // start-up warning and ends, as for an engine that refuses to start.
    EngineLibrary engine;
    engine.LoadFromProgramFolder();
    OpenFileChooser files;
    CDodezOvurerDlg dialog(engine.Api(), files);
    dialog.DoModal(); // the result is not looked at
    SetMainWindow(nullptr);

    if (SUCCEEDED(com)) CoUninitialize();
    return false; // no message loop: the program ends
}

bool CDodezOvurerApp::PreTranslateMessage(MSG* message) {
    if (CSplashWnd::SplashFilterMessage(message)) return true;
    return CWinApp::PreTranslateMessage(message);
}
