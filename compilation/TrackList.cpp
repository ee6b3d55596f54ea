#include "compilation/TrackList.h"

#include "compilation/FileChooser.h"
#include "compilation/PlayTime.h"
#include "engine/EngineResult.h"
#include "resources/resource.h"

#include <climits>

void TrackList::SetUpColumns() const {
    m_view.InsertColumn(kNumberColumn, L"#", LVCFMT_LEFT, 27);
    m_view.InsertColumn(kPathColumn, L"Filename", LVCFMT_LEFT, 320);
    m_view.InsertColumn(kPlayTimeColumn, L"Playtime", LVCFMT_LEFT, 80);
    m_view.SetExtendedStyle(LVS_EX_FULLROWSELECT);
}

bool TrackList::AddChosenFiles(IFileChooser& files) const {
    std::vector<std::wstring> paths;
    if (!files.ChooseAudioFiles(Owner(), paths)) return false;
    AddPaths(paths);
    return true;
}

void TrackList::AddPaths(const std::vector<std::wstring>& paths) const {
    // A list that draws itself again at every row took tens of milliseconds
    // a row under Wine (2,000 files, a minute): it is drawn once, at the end.
    m_view.SendMessageW(WM_SETREDRAW, FALSE);
    for (const std::wstring& path : paths) {
        int32_t seconds = 0;
        // Only the seconds count: an unreadable file reports less than one.
        m_engine.GetPlayTime(path.c_str(), &seconds);
        if (seconds < 1)
            MessageBoxW(Owner(), (L"Failed to load:" + path).c_str(), L"Message", MB_OK);
        else
            Append(path, seconds);
    }
    m_view.SendMessageW(WM_SETREDRAW, TRUE);
    m_view.Invalidate();
}

void TrackList::Append(const std::wstring& path, int seconds) const {
    int row = m_view.InsertItem(m_view.GetItemCount(), L"");
    if (row < 0) return;
    m_view.SetItemText(row, kNumberColumn, std::to_wstring(row + 1).c_str());
    m_view.SetItemText(row, kPathColumn, path.c_str());
    m_view.SetItemText(row, kPlayTimeColumn, FormatPlayTime(seconds).c_str());
}

bool TrackList::DeleteSelected() const {
    if (m_view.FirstSelected() < 0) {
        MessageBoxW(Owner(), L"Please select one or more items.", L"Message", MB_OK);
        return false;
    }
    for (int row = m_view.FirstSelected(); row >= 0; row = m_view.FirstSelected())
        if (!m_view.DeleteItem(row)) break; // never spin on a row that stays
    for (int row = 0; row < m_view.GetItemCount(); ++row)
        m_view.SetItemText(row, kNumberColumn, std::to_wstring(row + 1).c_str());
    return true;
}

// The numbers stay, since they state positions; the selection follows the file.
void TrackList::MoveFirstSelected(int step) const {
    int from = m_view.FirstSelected();
    int to = from + step;
    if (from < 0 || to < 0 || to >= m_view.GetItemCount()) return;

    for (int column : {kPathColumn, kPlayTimeColumn}) {
        std::wstring moving = m_view.GetItemText(from, column);
        m_view.SetItemText(from, column, m_view.GetItemText(to, column).c_str());
        m_view.SetItemText(to, column, moving.c_str());
    }
    const UINT states = LVIS_SELECTED | LVIS_FOCUSED;
    m_view.SetItemState(to, states, states);
    m_view.SetItemState(from, 0, states);
}

std::vector<std::wstring> TrackList::Paths() const {
    std::vector<std::wstring> paths;
    for (int row = 0; row < m_view.GetItemCount(); ++row)
        paths.push_back(m_view.GetItemText(row, kPathColumn));
    return paths;
}

int TrackList::TotalPlayTime() const {
    // Summed wide so that absurd play times saturate instead of wrapping.
    long long total = 0;
    for (int row = 0; row < m_view.GetItemCount(); ++row) {
        total += ReadPlayTime(m_view.GetItemText(row, kPlayTimeColumn));
        if (total > INT_MAX) total = INT_MAX;
    }
    return static_cast<int>(total);
}

std::optional<std::wstring> TrackList::PreviewChoice() const {
    if (m_view.GetItemCount() == 0) return std::nullopt;
    int row = m_view.FirstSelected();
    return m_view.GetItemText(row < 0 ? 0 : row, kPathColumn);
}

void AddTracksToProject(const TrackList& tracks, const EngineReport& report) {
    for (const std::wstring& path : tracks.Paths()) {
        FileEntry entry{};
        entry.sourcePath = path.c_str();
        entry.destinationFolder = L"\\";
        // A rejected track is reported and the others still go.
        report(report.engine.AddFile(entry));
    }
}
