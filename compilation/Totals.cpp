// The totals line and the capacity ruler's feed.
#include "app/CDodezOvurerDlg.h"

#include "compilation/PlayTime.h"

#include <climits>

namespace {

constexpr int kPlayTimeColumn = 2;

constexpr COLORREF kBlue = 0xD87E23;  // up to 74 minutes
constexpr COLORREF kAmber = 0x0AC8F7; // 74 to 80 minutes
constexpr COLORREF kRed = 0x0511DA;   // beyond 80 minutes

} // namespace

void CDodezOvurerDlg::UpdateTotals() {
    // Summed wide so that absurd play times saturate instead of wrapping.
    long long total = 0;
    for (int row = 0; row < m_trackList.GetItemCount(); ++row) {
        total += ReadPlayTime(m_trackList.GetItemText(row, kPlayTimeColumn));
        if (total > INT_MAX) total = INT_MAX;
    }
    m_totalPlayTime = static_cast<int>(total);

    m_ruler.SetCurrentValue(m_totalPlayTime / 60);
    m_totalsText = BuildTotalsText(m_totalPlayTime);
    UpdateData(false);
    m_ruler.RedrawNow();
}

std::wstring CDodezOvurerDlg::BuildTotalsText(int totalSeconds) const {
    return FormatTotalsLine(m_trackList.GetItemCount(), totalSeconds);
}

void CDodezOvurerDlg::SetupCapacityRuler() {
    m_ruler.SetMaxValue(90);
    m_ruler.SetMinorTickStep(5);
    m_ruler.SetLabelStep(10);
    m_ruler.SetUnitText("Min");
    m_ruler.ClearLines();
    m_ruler.ClearColorChanges();
    m_ruler.AddColorChange(0, kBlue);
    m_ruler.AddLine(74, kAmber, false);
    m_ruler.AddColorChange(74, kAmber);
    m_ruler.AddLine(80, kRed, false);
    m_ruler.AddColorChange(80, kRed);
}
