// The track list: the compilation, one row per track in the list view, first
// row first. The view is its only store: each row holds its position, the
// file's full path and the play time as text.
#pragma once

#include "engine/EngineBinding.h"
#include "framework/Controls.h"

#include <optional>
#include <string>
#include <vector>

class IFileChooser;
struct EngineReport;

class TrackList {
public:
    explicit TrackList(const EngineApi& engine) : m_engine(engine) {}

    // The list view, attached by the dialog's data exchange.
    CListCtrl& View() { return m_view; }

    // "#", "Filename" and "Playtime", and rows selected across all columns.
    void SetUpColumns() const;

    // Asks `files` for audio files and appends each one whose play time the
    // engine can measure; says "Failed to load:" for each other one. False
    // when the user chose nothing.
    bool AddChosenFiles(IFileChooser& files) const;
    // Adds `paths` at the end as Add does: a play time per file, a
    // "Failed to load:" box for each that has none.
    void AddPaths(const std::vector<std::wstring>& paths) const;
    // Removes every selected row and renumbers the rest; false, after saying
    // so, when no row was selected.
    bool DeleteSelected() const;
    // The first selected row changes places with its neighbour.
    void MoveUp() const { MoveFirstSelected(-1); }
    void MoveDown() const { MoveFirstSelected(+1); }

    int RowCount() const { return m_view.GetItemCount(); }
    std::vector<std::wstring> Paths() const;
    // The sum of the rows' play times in seconds, held at the largest int.
    int TotalPlayTime() const;
    // The file a preview plays: the first selected row's, else the first
    // row's; none in an empty list.
    std::optional<std::wstring> PreviewChoice() const;

private:
    void Append(const std::wstring& path, int seconds) const;
    void MoveFirstSelected(int step) const;
    HWND Owner() const { return ::GetParent(m_view.Hwnd()); }

    const EngineApi& m_engine;
    CListCtrl m_view;
};

// Hands every row's file to the engine's project, first row first; a track
// the engine rejects is reported and the others still go.
void AddTracksToProject(const TrackList& tracks, const EngineReport& report);
