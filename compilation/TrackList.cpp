// The track list: Add, Delete, Move Up and Move Down.
#include "app/CDodezOvurerDlg.h"

#include "compilation/FileChooser.h"
#include "compilation/PlayTime.h"

#include <string>
#include <vector>

namespace {

constexpr int kNumberColumn = 0;
constexpr int kPathColumn = 1;
constexpr int kPlayTimeColumn = 2;

} // namespace

void CDodezOvurerDlg::OnAdd() {
    std::vector<std::wstring> paths;
    if (!m_files.ChooseAudioFiles(m_hWnd, paths)) return;

    // A list that draws itself again at every row took tens of milliseconds
    // a row under Wine (2,000 files, a minute): it is drawn once, at the end.
    m_trackList.SendMessageW(WM_SETREDRAW, FALSE);
    for (const std::wstring& path : paths) {
        int32_t seconds = 0;
        // Only the seconds count: an unreadable file reports less than one.
        m_engine.GetPlayTime(path.c_str(), &seconds);
        if (seconds < 1) {
            MessageBoxW(m_hWnd, (L"Failed to load:" + path).c_str(), L"Message", MB_OK);
            continue;
        }
        int row = m_trackList.InsertItem(m_trackList.GetItemCount(), L"");
        if (row < 0) continue;
        m_trackList.SetItemText(row, kNumberColumn, std::to_wstring(row + 1).c_str());
        m_trackList.SetItemText(row, kPathColumn, path.c_str());
        m_trackList.SetItemText(row, kPlayTimeColumn, FormatPlayTime(seconds).c_str());
    }
    m_trackList.SendMessageW(WM_SETREDRAW, TRUE);
    m_trackList.Invalidate();
    UpdateTotals();
}

void CDodezOvurerDlg::OnDelete() {
    if (m_trackList.FirstSelected() < 0) {
        MessageBoxW(m_hWnd, L"Please select one or more items.", L"Message", MB_OK);
        return;
    }
    for (int row = m_trackList.FirstSelected(); row >= 0; row = m_trackList.FirstSelected())
        if (!m_trackList.DeleteItem(row)) break; // never spin on a row that stays

    for (int row = 0; row < m_trackList.GetItemCount(); ++row)
        m_trackList.SetItemText(row, kNumberColumn, std::to_wstring(row + 1).c_str());
    UpdateTotals();
}

void CDodezOvurerDlg::OnMoveUp() {
    MoveFirstSelected(-1);
}
void CDodezOvurerDlg::OnMoveDown() {
    MoveFirstSelected(+1);
}

// The first selected row changes places with its neighbour `step` rows away;
// the numbers stay, since they state positions, and the selection follows
// the file.
void CDodezOvurerDlg::MoveFirstSelected(int step) {
    int from = m_trackList.FirstSelected();
    int to = from + step;
    if (from < 0 || to < 0 || to >= m_trackList.GetItemCount()) return;

    for (int column : {kPathColumn, kPlayTimeColumn}) {
        std::wstring moving = m_trackList.GetItemText(from, column);
        m_trackList.SetItemText(from, column, m_trackList.GetItemText(to, column).c_str());
        m_trackList.SetItemText(to, column, moving.c_str());
    }
    const UINT states = LVIS_SELECTED | LVIS_FOCUSED;
    m_trackList.SetItemState(to, states, states);
    m_trackList.SetItemState(from, 0, states);
}
