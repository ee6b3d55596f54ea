// The one question, about a second after the dialog has started, whether to
// look for an update on the maker's web site, which it opens in the browser
// when the answer asks for it. The program itself looks for nothing.
#pragma once

#include "controls/ShellCall.h"

#include <windows.h>

#include <functional>

class UpdateQuestion {
public:
    // The shell and the random draw behind seams, for tests.
    void SetShellOpen(ShellOpener open) { m_shellOpen = std::move(open); }
    void SetRandomDraw(std::function<int()> draw) { m_randomDraw = std::move(draw); }

    // Asks in a box owned by `owner`, once per run however often it is told to.
    void Ask(HWND owner);

private:
    static int SeededRandomDraw();

    ShellOpener m_shellOpen{ExecuteShellCall};
    std::function<int()> m_randomDraw{SeededRandomDraw};
    bool m_asked = false;
};
