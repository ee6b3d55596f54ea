// Preview: Play, Stop and the track list's double click.
#include "app/CDodezOvurerDlg.h"

void CDodezOvurerDlg::OnPlay() {}
void CDodezOvurerDlg::OnStopPreview() {}
LRESULT CDodezOvurerDlg::OnTrackListDblClk(NMHDR*) { return 0; }
void CDodezOvurerDlg::PlayChosenTrack() {}
