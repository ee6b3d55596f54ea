#include "app/UpdateQuestion.h"

#include "app/WebAddress.h"

#include <cstdlib>
#include <ctime>

int UpdateQuestion::SeededRandomDraw() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    return std::rand();
}

void UpdateQuestion::Ask(HWND owner) {
    if (m_asked) return;
    m_asked = true;

    // Two wordings: in the second, "No" is the answer that leads to the site.
    const bool askToCheck = m_randomDraw() % 2 == 0;
    const std::wstring text =
        L"There may be an update on " + MakerWebHost() +
        (askToCheck ? L". Do you want to check it now?" : L". Continue without checking?");
    const int answer = MessageBoxW(owner, text.c_str(), L"Message", MB_YESNO);
    const bool openSite = askToCheck ? answer == IDYES : answer == IDNO;
    if (openSite && m_shellOpen) m_shellOpen(ShellCall{L"", MakerWebAddress(), SW_SHOWNORMAL});
}
