// The one-shot question about an update on the maker's web site.
#include "app/CDodezOvurerDlg.h"

void CDodezOvurerDlg::OnUpdateQuestion() { KillTimer(m_hWnd, TIMER_UPDATE_QUESTION); }
