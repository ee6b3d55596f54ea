// The totals line and the capacity ruler: how long the compilation plays,
// against 74- and 80-minute discs, as text and on the ruler.
#pragma once

#include "controls/CSizeRange.h"

#include <string>

class CDialog;
class TrackList;

class Totals {
public:
    // `dialog` shows the line through its data exchange and holds the ruler.
    Totals(const TrackList& tracks, CDialog& dialog);

    // The totals line's text, bound by the dialog's data exchange.
    std::wstring& Text() { return m_text; }

    // Takes over the ruler's frame in the dialog and sets up its scale.
    void AttachRuler();
    // Re-totals the list, feeds the ruler, has the dialog show its bound
    // values (the new line among them) and repaints the ruler at once.
    void UpdateTotals();
    std::wstring BuildTotalsText(int totalSeconds) const;
    void RepaintRuler() const { m_ruler.RedrawNow(); }

private:
    void SetupCapacityRuler();

    const TrackList& m_tracks;
    CDialog& m_dialog;
    std::wstring m_text;
    CSizeRange m_ruler;
};
