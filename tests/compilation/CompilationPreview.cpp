// Runs the main dialog with the real Open dialog and a scripted engine whose
// play times come from the command line ("C:\path\a.wav=245" ...), so the
// track list, totals line and ruler can be looked at before a real engine
// measures files. Not a test; tools/shoot-compilation.sh drives it.
#include "app/CDodezOvurerDlg.h"
#include "compilation/FileChooser.h"
#include "tests/support/ScriptedEngine.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    ScriptedEngine engine;
    for (int i = 1; i < argc; ++i) {
        std::wstring argument = argv[i];
        size_t equals = argument.rfind(L'=');
        if (equals == std::wstring::npos) continue;
        engine.playTimes[argument.substr(0, equals)] = _wtoi(argument.c_str() + equals + 1);
    }
    OpenFileChooser files;
    CDodezOvurerDlg dialog(engine.Api(), files);
    dialog.DoModal();
    CoUninitialize();
    return 0;
}
