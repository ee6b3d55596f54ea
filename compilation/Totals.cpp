#include "compilation/Totals.h"

#include "compilation/PlayTime.h"
#include "compilation/TrackList.h"
#include "framework/Dialog.h"
#include "resources/resource.h"

namespace {

// Until the first re-total the line reads as the dialog template has it.
constexpr wchar_t kInitialText[] =
    L"0 songs, total time: 00:00, time left:<74min disc> 74:00 <80min disc> 80:00";

constexpr COLORREF kBlue = 0xD87E23;  // up to 74 minutes
constexpr COLORREF kAmber = 0x0AC8F7; // 74 to 80 minutes
constexpr COLORREF kRed = 0x0511DA;   // beyond 80 minutes

} // namespace

Totals::Totals(const TrackList& tracks, CDialog& dialog)
    : m_tracks(tracks), m_dialog(dialog), m_text(kInitialText) {}

void Totals::AttachRuler() {
    m_ruler.AttachToDialogItem(IDC_RULER, m_dialog.Hwnd());
    SetupCapacityRuler();
}

void Totals::UpdateTotals() {
    int total = m_tracks.TotalPlayTime();
    m_ruler.SetCurrentValue(total / 60);
    m_text = BuildTotalsText(total);
    m_dialog.UpdateData(false);
    m_ruler.RedrawNow();
}

std::wstring Totals::BuildTotalsText(int totalSeconds) const {
    return FormatTotalsLine(m_tracks.RowCount(), totalSeconds);
}

void Totals::SetupCapacityRuler() {
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
