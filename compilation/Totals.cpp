// The totals line and the capacity ruler's feed.
#include "app/CDodezOvurerDlg.h"

void CDodezOvurerDlg::UpdateTotals() {}
std::wstring CDodezOvurerDlg::BuildTotalsText(int) const { return m_totalsText; }
void CDodezOvurerDlg::SetupCapacityRuler() {}
