// The application object: reads the command line, runs the main dialog and
// ends the program when the dialog ends.
#pragma once

#include "framework/Application.h"

class CDodezOvurerApp : public CWinApp {
public:
    bool InitInstance() override;
    bool PreTranslateMessage(MSG* message) override;
};
