// Preview: Play, Stop and the track list's double click. The engine plays;
// the dialog only picks the track and remembers that a preview was started,
// so that a burn can stop it first.
#include "app/CDodezOvurerDlg.h"

void CDodezOvurerDlg::OnPlay() {
    PlayChosenTrack();
}

void CDodezOvurerDlg::OnStopPreview() {
    m_engine.AudioFileStop(); // result deliberately unread, as for every preview call
    m_previewPlaying = false;
}

LRESULT CDodezOvurerDlg::OnTrackListDblClk(NMHDR*) {
    // The list stays enabled during a burn, so the burn is checked here.
    if (!IsBurning()) PlayChosenTrack();
    return 0;
}

void CDodezOvurerDlg::PlayChosenTrack() {
    // Whatever plays stops first, even when it is the same track.
    m_engine.AudioFileStop();
    if (m_trackList.GetItemCount() == 0) return;
    int row = m_trackList.FirstSelected();
    if (row < 0) row = 0;
    std::wstring path = m_trackList.GetItemText(row, 1);
    m_engine.PlayAudioFile(path.c_str());
    // Set whatever the engine answered: the engine gives no word when a
    // preview ends or fails, and stopping twice is harmless.
    m_previewPlaying = true;
}
