#include "app/CDodezOvurerApp.h"

#include <windows.h>

// The one application object, constructed before WinMain runs.
CDodezOvurerApp g_theApp;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return g_theApp.Run();
}
