#include "burn/BurnSession.h"

#include "base/Text.h"
#include "burn/EngineEvents.h"
#include "compilation/TrackList.h"
#include "framework/Dialog.h"
#include "player/Preview.h"
#include "resources/resource.h"

#include <cstring>

namespace {

constexpr UINT kBurnStartDelay = 500;
constexpr DWORD kPauseAfterAbort = 1000;

// The label goes into a 128-byte field: at most 127 bytes of text, never half
// a character, and the zero.
void CopyVolumeLabel(BurnOptions& options, const std::wstring& label) {
    std::string ansi = ToAnsiBounded(label, sizeof options.volumeLabel - 1);
    std::memset(options.volumeLabel, 0, sizeof options.volumeLabel);
    std::memcpy(options.volumeLabel, ansi.data(), ansi.size());
}

} // namespace

BurnSession::BurnSession(const EngineApi& engine, CDialog& dialog, const CListBox& information,
                         const TrackList& tracks, Preview& preview)
    : m_engine(engine), m_dialog(dialog), m_information(information), m_tracks(tracks),
      m_preview(preview), m_report{engine, dialog, information},
      m_target(std::make_shared<EventTarget>()) {
    EventTargets::Register(EventContext(), m_target);
}

BurnSession::~BurnSession() {
    EventTargets::Unregister(EventContext());
    m_target->window.store(nullptr);
}

void BurnSession::InstallEventHandlers() {
    ::InstallEventHandlers(m_engine, EventContext());
}

void BurnSession::AttachWindow() const {
    m_target->window.store(m_dialog.Hwnd());
    m_target->taskbar.Follow(GetDlgItem(m_dialog.Hwnd(), IDC_BURN_PROGRESS), m_dialog.Hwnd());
}

void BurnSession::DetachWindow() const {
    m_target->window.store(nullptr);
}

void BurnSession::OnBurnButton() {
    if (IsBurning()) {
        Stop();
        return;
    }
    if (m_tracks.RowCount() == 0) {
        MessageBoxW(m_dialog, L"Please add audio files to burn!", L"Message", MB_OK);
        return;
    }
    SetBurning(true);
    // The work starts on the timer's first tick, so the press returns at once
    // and the locked controls are drawn grey before the engine is busy.
    SetTimer(m_dialog, TIMER_BURN_START, kBurnStartDelay, nullptr);
}

void BurnSession::Stop() {
    // A start still pending must not run after the dialog is idle again.
    KillTimer(m_dialog, TIMER_BURN_START);
    m_engine.Abort(); // result deliberately unread: there is nothing left to do about it
    // The engine gets a second to wind down before the controls come back.
    Sleep(kPauseAfterAbort);
    m_dialog.SetWindowTextW(kIdleTitle);
    SetBurning(false);
}

void BurnSession::OnStartTimer() {
    KillTimer(m_dialog, TIMER_BURN_START); // one start step per press
    // A tick that comes while idle (one already queued when "&Stop" killed
    // the timer, or one that was never ours) starts nothing.
    if (IsBurning()) StartStep();
}

void BurnSession::StartStep() {
    m_dialog.UpdateData(true);
    m_preview.StopIfPlaying();
    AddTracksToProject(m_tracks, m_report);
    if (m_burnWithDialog != 0) {
        // The engine's own dialog runs the burn; its end comes as the
        // burn-done event or through "&Stop".
        m_report(m_engine.BurnDialog(0, 0, 1, L"Burn Audio Files to CD", L""));
        return;
    }
    if (!HandOverRecorder()) {
        SetBurning(false);
        return;
    }
    HandOverVolumeLabel();
    ResetDisplays();
    if (!RunPhase(L"Prepare Collection", L"" IDLE_TITLE " (Prepare Collection...)",
                  m_engine.Prepare))
        return;
    RunPhase(L"Start Burning...", L"" IDLE_TITLE " (Start Burning...)", m_engine.Burn);
    // On success the engine burns on; its events take over from here.
}

bool BurnSession::HandOverRecorder() const {
    // With no recorder selected (an empty list) the engine keeps the one it has.
    std::optional<uint32_t> device = m_recorders.SelectedDevice();
    return !device || m_report(m_engine.SetDevice(*device));
}

void BurnSession::HandOverVolumeLabel() const {
    BurnOptions options;
    SetNotDefined(options);
    m_engine.GetOptions(&options); // result deliberately unread: the run goes on regardless
    CopyVolumeLabel(options, m_volumeLabel.GetWindowTextW());
    m_engine.SetOptions(options); // likewise
}

void BurnSession::ResetDisplays() const {
    m_information.ResetContent();
    m_progress.SetPos(0);
    SetDlgItemTextW(m_dialog, IDC_BYTES_WRITTEN, L"0");
    SetDlgItemTextW(m_dialog, IDC_BUFFER, L"0");
}

bool BurnSession::RunPhase(const wchar_t* line, const wchar_t* title, EngineStep call) {
    m_information.AddString(line);
    m_dialog.SetWindowTextW(title);
    if (m_report(call())) return true;
    SetBurning(false);
    m_dialog.SetWindowTextW(kIdleTitle);
    return false;
}

void BurnSession::FillRecorderList() {
    m_dialog.UpdateData(true);
    m_dialog.SetOuterHeight(m_burnWithDialog != 0 ? kWindowHeightWithBurnDialog : kWindowHeight);
    m_recorders.Fill(m_report);
}

void BurnSession::Erase() const {
    // The preview's flag stays as it is: only Stop and a burn clear it.
    m_engine.AudioFileStop(); // result deliberately unread
    // The engine erases with the recorder it was last given.
    m_report(m_engine.EraseDialog(L"Erase"));
}
