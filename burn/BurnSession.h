// A burn session: the dialog's burning state and everything that drives a run
// from the burn button to the engine's events, the recorder list and Erase.
// The burn button only switches to the burning state and starts the start
// timer; on its tick the start step hands the tracks, the recorder and the
// volume label to the engine and starts the burn, whose end comes as the
// engine's burn-done event or through "&Stop".
#pragma once

#include "burn/EventTarget.h"
#include "burn/RecorderList.h"
#include "engine/EngineResult.h"
#include "framework/Controls.h"

#include <memory>

class CDialog;
class Preview;
class TrackList;

class BurnSession {
public:
    // The session works in `dialog` (its window, timers and data exchange),
    // reports to `information`, burns the rows of `tracks` and stops a
    // playing `preview` first.
    BurnSession(const EngineApi& engine, CDialog& dialog, const CListBox& information,
                const TrackList& tracks, Preview& preview);
    ~BurnSession();
    BurnSession(const BurnSession&) = delete;
    BurnSession& operator=(const BurnSession&) = delete;

    // What the dialog's data exchange attaches and binds.
    CComboBox& RecorderBox() { return m_recorders.Box(); }
    CProgressCtrl& ProgressBar() { return m_progress; }
    CEdit& VolumeLabel() { return m_volumeLabel; }
    int& BurnWithDialog() { return m_burnWithDialog; } // check box 1022

    // The engine's events reach the dialog's window from the moment it is
    // attached until it is detached (when it is destroyed).
    void InstallEventHandlers();
    void AttachWindow() const;
    void DetachWindow() const;
    // The context the handlers are installed with.
    void* EventContext() { return this; }

    bool IsBurning() const { return m_target->burning.load(); }
    void SetBurning(bool burning) { ::SetBurning(*m_target, burning); }

    // "&Burn Now!" while idle, "&Stop" while burning.
    void OnBurnButton();
    // The burn start timer's tick.
    void OnStartTimer();
    // Lists the engine's recorders, after setting the window's height for the
    // "Burn with Dialog" mode.
    void FillRecorderList();
    void Erase() const;

private:
    void StartStep();
    void Stop();
    bool HandOverRecorder() const;
    void HandOverVolumeLabel() const;
    void ResetDisplays() const;
    // One phase of the start: its line, its title, the call. On a failure the
    // run ends and the dialog is idle again.
    using EngineStep = int32_t(ENGINE_CALL*)();
    bool RunPhase(const wchar_t* line, const wchar_t* title, EngineStep call);

    const EngineApi& m_engine;
    CDialog& m_dialog;
    const CListBox& m_information;
    const TrackList& m_tracks;
    Preview& m_preview;
    EngineReport m_report;
    std::shared_ptr<EventTarget> m_target;
    RecorderList m_recorders;
    CProgressCtrl m_progress;
    CEdit m_volumeLabel;
    int m_burnWithDialog = 0;
};
