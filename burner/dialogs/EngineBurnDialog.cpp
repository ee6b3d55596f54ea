#include "burner/dialogs/EngineBurnDialog.h"

#include "burner/core/EngineErrors.h"
#include "burner/EngineState.h"
#include "base/PinnedThread.h"
#include "burner/dialogs/BurnEventRelay.h"
#include "burner/core/EngineErrors.h"
#include "burner/dialogs/DialogIds.h"
#include "base/Text.h"
#include "burner/run/BurnController.h"

#include <commctrl.h>

#include <cstring>

namespace {

constexpr UINT kSummaryReady = WM_APP + 10;
constexpr UINT kWorkerEnded = WM_APP + 11; // wParam: Prepare's or Burn's code
constexpr UINT kRunFinished = WM_APP + 12;

// The worker's answer when the user cancelled while the tracks were checked.
constexpr int32_t kCancelledBeforeBurn = ToCode(EngineError::BurnCancelled);

} // namespace

EngineBurnDialog::EngineBurnDialog(std::wstring note) : m_note(std::move(note)) {}

// The worker and the run hold the relay themselves and post to a window that
// may be gone, so nothing here waits for them.
EngineBurnDialog::~EngineBurnDialog() = default;

int32_t EngineBurnDialog::Run(const wchar_t* caption) {
    if (RunModal(IDD_ENGINE_BURN, caption) == -1) return ToCode(EngineError::DialogNotShown);
    return m_result;
}

void EngineBurnDialog::OnInit() {
    EngineState& state = EngineState::Instance();
    SetItemText(IDC_ENGINE_RECORDER, ChosenRecorderText());
    BurnOptions options = state.Options();
    SetItemText(IDC_ENGINE_LABEL,
                FromAnsi(std::string(options.volumeLabel,
                                     strnlen(options.volumeLabel, sizeof options.volumeLabel))));
    std::vector<std::wstring> paths;
    for (const ProjectTrack& track : state.Tracks())
        paths.push_back(track.sourcePath);
    m_trackCount = paths.size();
    if (paths.empty()) {
        SetItemText(IDC_ENGINE_TRACKS, L"none");
        SetStatus(ErrorSentence(EngineError::NoTracks));
        EnableWindow(Item(IDC_ENGINE_BURN), FALSE);
        SetItemText(IDCANCEL, L"Close");
        SendMessageW(Window(), DM_SETDEFID, IDCANCEL, 0);
        return;
    }
    SetItemText(IDC_ENGINE_TRACKS, std::to_wstring(paths.size()) +
                                       (paths.size() == 1 ? L" track" : L" tracks") +
                                       L", measuring the time...");
    SetStatus(m_note.empty() ? L"Ready to burn. Press Burn to start." : m_note);
    m_summary.Start(std::move(paths), Window(), kSummaryReady);
}

bool EngineBurnDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ENGINE_BURN)
            OnBurn();
        else if (LOWORD(wParam) == IDCANCEL)
            OnCancel(); // also the title bar's close and Esc
        else
            return false;
        return true;
    case kSummaryReady:
        SetItemText(IDC_ENGINE_TRACKS,
                    TrackSummaryText(m_trackCount, m_summary.Seconds(), m_summary.Unreadable()));
        return true;
    case BurnEventRelay::kProgress:
        OnProgress();
        return true;
    case BurnEventRelay::kFinalize:
        if (m_phase == Phase::Running && !m_relay->CancelRequested())
            SetStatus(L"Closing the disc image...");
        return true;
    case BurnEventRelay::kBurnDone:
        m_burnDoneSeen = true;
        Settle();
        return true;
    case kWorkerEnded:
        OnWorkerEnded(static_cast<int32_t>(wParam));
        return true;
    case kRunFinished:
        m_runFinished = true;
        Settle();
        return true;
    default:
        return false;
    }
}

void EngineBurnDialog::OnBurn() {
    if (m_phase != Phase::Ready || m_trackCount == 0) return;
    m_phase = Phase::Preparing;
    SendMessageW(Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDCANCEL)), TRUE);
    EnableWindow(Item(IDC_ENGINE_BURN), FALSE);
    SetStatus(L"Checking the tracks...");
    m_relay = std::make_shared<BurnEventRelay>(Window(), EngineState::Instance().Handlers());
    HWND window = Window();
    std::shared_ptr<BurnEventRelay> relay = m_relay;
    // Nobody waits for the worker: it tells its end by kWorkerEnded.
    UniqueKernelHandle worker = StartPinnedThread([relay, window] {
        // Prepare reports unusable files through the program's handlers,
        // here, on this thread.
        int32_t code = BurnController::Instance().Prepare();
        if (code == 0 && relay->CancelRequested()) code = kCancelledBeforeBurn;
        if (code == 0)
            code = BurnController::Instance().Burn(
                relay->Handlers(), [relay, window] { PostMessageW(window, kRunFinished, 0, 0); });
        PostMessageW(window, kWorkerEnded, static_cast<WPARAM>(code), 0);
    });
    if (!worker) {
        Finish(FailWith(EngineError::BurnFailed, L"The burn could not start a thread."),
               L"The burn could not start.", true);
        return;
    }
}

void EngineBurnDialog::OnCancel() {
    switch (m_phase) {
    case Phase::Ready:
    case Phase::Ended:
        End(0);
        return;
    case Phase::Preparing:
    case Phase::Running:
        if (m_relay->CancelRequested()) return;
        m_relay->RequestCancel();
        SetStatus(L"Stopping...");
        // Returns at once; the run's end is told by kRunFinished.
        if (m_phase == Phase::Running) BurnController::Instance().Abort();
        return;
    }
}

void EngineBurnDialog::OnProgress() {
    BurnEventRelay::Progress progress = m_relay->TakeProgress();
    if (m_phase != Phase::Running || m_relay->CancelRequested()) return;
    int position = progress.percent > 0 ? static_cast<int>(progress.percent) : 0;
    if (position > 100) position = 100;
    SendMessageW(Item(IDC_ENGINE_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(position), 0);
    uint32_t track = progress.track == 0 ? 1 : progress.track;
    if (track > m_trackCount) track = static_cast<uint32_t>(m_trackCount);
    SetStatus(L"Writing track " + std::to_wstring(track) + L" of " + std::to_wstring(m_trackCount) +
              L"... " + std::to_wstring(position) + L"%");
}

void EngineBurnDialog::OnWorkerEnded(int32_t code) {
    m_workerEnded = true;
    m_workerCode = code;
    if (code == 0 && m_phase == Phase::Preparing) {
        m_phase = Phase::Running;
        // Cancel came while Burn was starting the run: stop it now.
        if (m_relay->CancelRequested())
            BurnController::Instance().Abort();
        else
            SetStatus(L"Writing...");
    }
    Settle();
}

// Ends the dialog's burn once everything that was started has reported.
void EngineBurnDialog::Settle() {
    if (m_phase == Phase::Ended || !m_workerEnded) return;
    if (m_workerCode == kCancelledBeforeBurn) {
        Finish(kCancelledBeforeBurn, L"The burn was cancelled. Nothing was written.", true);
        return;
    }
    if (m_workerCode != 0) {
        Finish(m_workerCode, L"The burn could not start: " + EngineErrorText(m_workerCode), true);
        return;
    }
    if (!m_runFinished) return;
    if (m_burnDoneSeen) {
        std::string text = m_relay->BurnDoneText();
        if (text.empty()) {
            Finish(0, L"The burn is complete.", false);
        } else {
            Finish(FailWith(EngineError::BurnFailed, FromAnsi(text)),
                   L"The burn failed: " + FromAnsi(text), false);
        }
        return;
    }
    if (m_relay->CancelRequested()) {
        Finish(ToCode(EngineError::BurnCancelled), L"The burn was cancelled. Nothing was written.",
               true);
        return;
    }
    Finish(FailWith(EngineError::BurnFailed, L"The burn ended without saying how."),
           L"The burn ended without saying how.", true);
}

// Shows the end, then, when the run raised none, the burn-done event here on
// the dialog's thread (the program's handler may show a message box; this
// dialog stays usable behind it).
void EngineBurnDialog::Finish(int32_t code, const std::wstring& status, bool raiseBurnDone) {
    m_phase = Phase::Ended;
    m_result = code;
    SendMessageW(Item(IDC_ENGINE_PROGRESS), PBM_SETPOS, code == 0 ? 100 : 0, 0);
    SetStatus(status);
    ShowWindow(Item(IDC_ENGINE_BURN), SW_HIDE);
    SetItemText(IDCANCEL, L"Close");
    SendMessageW(Window(), DM_SETDEFID, IDCANCEL, 0);
    SendMessageW(Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDCANCEL)), TRUE);
    if (!raiseBurnDone) return;
    EventHandlers program = EngineState::Instance().Handlers();
    if (program.burnDone == nullptr) return;
    std::string text = ToAnsi(EngineErrorText(code));
    program.burnDone(text.c_str(), program.burnDoneContext);
}

void EngineBurnDialog::SetStatus(const std::wstring& text) const {
    SetItemText(IDC_ENGINE_STATUS, text);
}
