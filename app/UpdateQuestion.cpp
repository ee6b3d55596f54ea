// The one-shot question about an update on the maker's web site, about a
// second after the dialog has started.
#include "app/CDodezOvurerDlg.h"

#include "app/WebAddress.h"

#include <cstdlib>
#include <ctime>

void CDodezOvurerDlg::SetShellOpen(ShellOpener open) {
    m_webLink.SetShellOpen(open);
    m_shellOpen = std::move(open);
}

int CDodezOvurerDlg::SeededRandomDraw() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    return std::rand();
}

void CDodezOvurerDlg::OnUpdateQuestion() {
    KillTimer(m_hWnd, TIMER_UPDATE_QUESTION);
    // Asked once per run, even if a tick was already on its way.
    if (m_updateQuestionAsked) return;
    m_updateQuestionAsked = true;

    // Two wordings: in the second, "No" is the answer that leads to the site.
    const bool askToCheck = m_randomDraw() % 2 == 0;
    const std::wstring text =
        L"There may be an update on " + MakerWebHost() +
        (askToCheck ? L". Do you want to check it now?" : L". Continue without checking?");
    const int answer = MessageBoxW(m_hWnd, text.c_str(), L"Message", MB_YESNO);
    const bool openSite = askToCheck ? answer == IDYES : answer == IDNO;
    if (openSite && m_shellOpen) m_shellOpen(ShellCall{L"", MakerWebAddress(), SW_SHOWNORMAL});
}
