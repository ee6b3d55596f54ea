// The burn run: the burning state, the burn button, the start step and the
// dialog's timers.
#include "app/CDodezOvurerDlg.h"

void CDodezOvurerDlg::SetBurning(bool burning) {
    const int locked[] = {IDC_ADD,   IDC_DELETE, IDC_MOVE_UP,   IDC_MOVE_DOWN, IDC_PLAY,
                          IDC_STOP_PREVIEW,      IDC_ERASE,     IDC_EXIT,      IDC_RECORDERS,
                          IDC_SPEED, IDC_VOLUME_LABEL,          IDC_EJECT};
    for (int id : locked) ::EnableWindow(GetDlgItem(id), burning ? FALSE : TRUE);
    if (burning) {
        ::SetWindowTextW(GetDlgItem(IDC_BURN), L"&Stop");
    } else {
        ::SetWindowTextW(GetDlgItem(IDC_BURN), L"&Burn Now!");
        ::SetWindowTextW(m_hWnd, L"Quillotune");
    }
    m_eventTarget->burning.store(burning);
}

void CDodezOvurerDlg::OnBurnNow() {}
void CDodezOvurerDlg::StartStep() {}
void CDodezOvurerDlg::AddTracksToProject() {}
void CDodezOvurerDlg::OnErase() {}
void CDodezOvurerDlg::OnBurnWithDialog() { FillRecorderList(); }

void CDodezOvurerDlg::OnTimer(UINT_PTR timerId) {
    switch (timerId) {
    case TIMER_BURN_START:
        KillTimer(m_hWnd, TIMER_BURN_START);
        StartStep();
        break;
    case TIMER_RULER_REFRESH:
        if (!IsBurning()) m_ruler.RedrawNow();
        break;
    case TIMER_UPDATE_QUESTION:
        OnUpdateQuestion();
        break;
    default:
        DefaultProc(WM_TIMER, timerId, 0);
        break;
    }
}
