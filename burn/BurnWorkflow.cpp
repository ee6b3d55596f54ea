// The burn run: the burning state, the burn button, the start step and the
// dialog's timers.
#include "app/CDodezOvurerDlg.h"

#include "base/Text.h"

#include <cstring>

namespace {

constexpr wchar_t kIdleTitle[] = L"Quillotune";
constexpr wchar_t kBurnCaption[] = L"&Burn Now!";
constexpr wchar_t kStopCaption[] = L"&Stop";
constexpr UINT kBurnStartDelay = 500;
constexpr DWORD kPauseAfterAbort = 1000;

// The controls a running burn locks.
constexpr int kLockedWhileBurning[] = {
    IDC_ADD,   IDC_DELETE, IDC_MOVE_UP,   IDC_MOVE_DOWN, IDC_PLAY,         IDC_STOP_PREVIEW,
    IDC_ERASE, IDC_EXIT,   IDC_RECORDERS, IDC_SPEED,     IDC_VOLUME_LABEL, IDC_EJECT};

// The label goes into a 128-byte field: at most 127 bytes of text, never half
// a double-byte character, and the zero.
void CopyVolumeLabel(BurnOptions& options, const std::wstring& label) {
    std::string ansi = ToAnsiBounded(label, sizeof options.volumeLabel - 1);
    std::memset(options.volumeLabel, 0, sizeof options.volumeLabel);
    std::memcpy(options.volumeLabel, ansi.data(), ansi.size());
}

} // namespace

void CDodezOvurerDlg::SetBurning(bool burning) {
    SetBurning(*m_eventTarget, burning);
}

void CDodezOvurerDlg::SetBurning(EventTarget& target, bool burning) {
    // Window calls only: from another thread they are carried out on the
    // dialog's thread, and on a destroyed window they do nothing.
    HWND window = target.window.load();
    if (window != nullptr) {
        for (int id : kLockedWhileBurning)
            ::EnableWindow(::GetDlgItem(window, id), burning ? FALSE : TRUE);
        if (burning) {
            ::SetWindowTextW(::GetDlgItem(window, IDC_BURN), kStopCaption);
        } else {
            ::SetWindowTextW(::GetDlgItem(window, IDC_BURN), kBurnCaption);
            ::SetWindowTextW(window, kIdleTitle);
        }
    }
    target.burning.store(burning);
}

void CDodezOvurerDlg::OnBurnNow() {
    if (IsBurning()) {
        StopBurning();
        return;
    }
    if (m_trackList.GetItemCount() == 0) {
        MessageBoxW(m_hWnd, L"Please add audio files to burn!", L"Message", MB_OK);
        return;
    }
    SetBurning(true);
    // The work starts on the timer's first tick, so the press returns at once
    // and the locked controls are drawn grey before the engine is busy.
    SetTimer(m_hWnd, TIMER_BURN_START, kBurnStartDelay, nullptr);
}

void CDodezOvurerDlg::StopBurning() {
    // A start still pending must not run after the dialog is idle again.
    KillTimer(m_hWnd, TIMER_BURN_START);
    m_engine.Abort(); // result deliberately unread: there is nothing left to do about it
    // The engine gets a second to wind down before the controls come back.
    Sleep(kPauseAfterAbort);
    SetWindowTextW(kIdleTitle);
    SetBurning(false);
}

void CDodezOvurerDlg::StartStep() {
    KillTimer(m_hWnd, TIMER_BURN_START); // one start step per press
    UpdateData(true);
    AddTracksToProject();

    if (m_burnWithDialog != 0) {
        // The engine's own dialog runs the burn; its end comes as the
        // burn-done event or through "&Stop".
        CheckEngineResult(m_engine.BurnDialog(0, 0, 1, L"Burn Audio Files to CD", L""));
        return;
    }

    int recorder = m_recorderList.GetCurSel();
    if (recorder != CB_ERR) {
        std::wstring text = m_recorderList.GetLBText(recorder);
        if (!CheckEngineResult(m_engine.SetDevice(DeviceValueOf(text.c_str())))) {
            SetBurning(false);
            return;
        }
    }

    BurnOptions options;
    SetNotDefined(options);
    m_engine.GetOptions(&options); // result deliberately unread: the run goes on regardless
    CopyVolumeLabel(options, m_volumeLabel.GetWindowTextW());
    m_engine.SetOptions(options); // likewise

    m_information.ResetContent();
    m_burnProgress.SetPos(0);
    SetDlgItemTextW(m_hWnd, IDC_BYTES_WRITTEN, L"0");
    SetDlgItemTextW(m_hWnd, IDC_BUFFER, L"0");

    AddInformationLine(L"Prepare Collection");
    SetWindowTextW(L"Quillotune (Prepare Collection...)");
    if (!CheckEngineResult(m_engine.Prepare())) {
        SetBurning(false);
        SetWindowTextW(kIdleTitle);
        return;
    }

    AddInformationLine(L"Start Burning...");
    SetWindowTextW(L"Quillotune (Start Burning...)");
    if (!CheckEngineResult(m_engine.Burn())) {
        SetBurning(false);
        SetWindowTextW(kIdleTitle);
        return;
    }
    // The engine burns on; its events take over from here.
}

void CDodezOvurerDlg::AddTracksToProject() {
    int rows = m_trackList.GetItemCount();
    if (m_previewPlaying) {
        m_engine.AudioFileStop(); // result deliberately unread
        m_previewPlaying = false;
    }
    for (int row = 0; row < rows; ++row) {
        std::wstring path = m_trackList.GetItemText(row, 1);
        FileEntry entry{};
        entry.sourcePath = path.c_str();
        entry.destinationFolder = L"\\";
        // A rejected track is reported and the others still go.
        CheckEngineResult(m_engine.AddFile(entry));
    }
}

void CDodezOvurerDlg::OnBurnWithDialog() {
    FillRecorderList();
}

void CDodezOvurerDlg::OnTimer(UINT_PTR timerId) {
    switch (timerId) {
    case TIMER_BURN_START:
        StartStep();
        break;
    case TIMER_RULER_REFRESH:
        if (!IsBurning()) m_ruler.RedrawNow();
        break;
    case TIMER_UPDATE_QUESTION:
        OnUpdateQuestion();
        break;
    default:
        DefaultProc(WM_TIMER, timerId, 0);
        break;
    }
}
