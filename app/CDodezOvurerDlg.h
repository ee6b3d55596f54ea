// The main dialog. It keeps the window's life cycle, its message map and its
// data exchange, and hands each feature to an object of the feature's room:
// the track list and the totals (compilation/), the preview (player/) and the
// burn session with the recorder list (burn/).
#pragma once

#include "app/UpdateQuestion.h"
#include "base/Handles.h"
#include "burn/BurnSession.h"
#include "compilation/FileDrop.h"
#include "compilation/Totals.h"
#include "compilation/TrackList.h"
#include "controls/CMyHyperLink.h"
#include "controls/CThemeHelperST.h"
#include "controls/CXPStyleButtonST.h"
#include "engine/EngineResult.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "player/Preview.h"
#include "resources/resource.h"

#include <functional>

class IFileChooser;

class CDodezOvurerDlg : public CDialog {
public:
    // `engine` is the bound engine (or an empty binding when it could not be
    // loaded); `files` is the Open dialog behind a seam, so tests choose files.
    CDodezOvurerDlg(const EngineApi& engine, IFileChooser& files);
    ~CDodezOvurerDlg() override;

    // The feature objects, for tests to look into.
    BurnSession& Session() { return m_burn; }
    const Preview& Player() const { return m_preview; }

    // The shell behind a seam (the web-site link and the update question open
    // the maker's site through it), and the update question's random draw.
    void SetShellOpen(const ShellOpener& open);
    void SetRandomDraw(std::function<int()> draw) {
        m_updateQuestion.SetRandomDraw(std::move(draw));
    }

protected:
    using Self = CDodezOvurerDlg;

    void DoDataExchange(DataExchange& dx) override;
    bool PreTranslateMessage(MSG* message) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static const MessageEntry<CDodezOvurerDlg> kMessageMap[];

    // Set-up.
    void ConfigureIconButtons();
    void FillSpeedList() const;
    bool BindEngine();
    bool LoadOptions();
    void BoldenCaption() const;
    void ShowStartupFailure();

    // Window-level handlers.
    int OnCreate(CREATESTRUCTW* create); // opens the splash
    void OnPaint();                      // the icon when minimised
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT message);
    LRESULT OnLButtonDown(WPARAM, LPARAM); // drag by a free spot
    void OnClose();
    void OnExit() { DestroyWindow(m_hWnd); }
    void OnBanner() {}
    LRESULT OnDestroy(WPARAM, LPARAM);
    void OnTimer(UINT_PTR timerId);
    bool RefuseWhileBurning();

    // The option check boxes write through to the engine.
    void OnOptionClicked(int controlId);
    void OnEjectClicked() { OnOptionClicked(IDC_EJECT); }
    void OnJolietClicked() { OnOptionClicked(IDC_JOLIET); }
    void OnFinalizeClicked() { OnOptionClicked(IDC_FINALIZE); }

    // Features, each handed to its object.
    void OnAdd() {
        if (m_tracks.AddChosenFiles(m_files)) m_totals.UpdateTotals();
    }
    void OnDelete() {
        if (m_tracks.DeleteSelected()) m_totals.UpdateTotals();
    }
    // Files dropped from Explorer add as Add does, and not while burning.
    void OnDroppedFiles(const std::vector<std::wstring>& files) {
        m_tracks.AddPaths(files);
        m_totals.UpdateTotals();
    }
    LRESULT OnDropFiles(WPARAM drop, LPARAM) {
        m_drop.OnDropFiles(reinterpret_cast<HDROP>(drop));
        return 0;
    }
    void OnMoveUp() { m_tracks.MoveUp(); }
    void OnMoveDown() { m_tracks.MoveDown(); }
    void OnPlay() { m_preview.Play(m_tracks.PreviewChoice()); }
    void OnStopPreview() { m_preview.Stop(); }
    LRESULT OnTrackListDblClk(NMHDR*) {
        // The list stays enabled during a burn, so the burn is checked here.
        if (!m_burn.IsBurning()) OnPlay();
        return 0;
    }
    void OnBurnNow() { m_burn.OnBurnButton(); }
    void OnErase() { m_burn.Erase(); }
    void OnBurnWithDialog() { m_burn.FillRecorderList(); }

    const EngineApi& m_engine;
    IFileChooser& m_files;

    CThemeHelperST m_themeHelper; // drawn with by the buttons, so made before them
    CMyHyperLink m_webLink;
    CXPStyleButtonST m_stopButton;
    CXPStyleButtonST m_playButton;
    CXPStyleButtonST m_addButton;
    CProgressCtrl m_decoderProgress;
    CXPStyleButtonST m_exitButton;
    CXPStyleButtonST m_eraseButton;
    CXPStyleButtonST m_deleteButton;
    CXPStyleButtonST m_burnButton;
    CXPStyleButtonST m_moveUpButton;
    CXPStyleButtonST m_moveDownButton;
    CListBox m_information;
    CComboBox m_speedList;
    int m_joliet = 0;
    int m_finalize = 0;
    int m_eject = 0;
    UniqueIcon m_icon;
    EngineReport m_report{m_engine, *this, m_information};

    TrackList m_tracks{m_engine};
    Totals m_totals{m_tracks, *this};
    Preview m_preview{m_engine};
    BurnSession m_burn{m_engine, *this, m_information, m_tracks, m_preview};
    UpdateQuestion m_updateQuestion;
    FileDrop m_drop{[this](const std::vector<std::wstring>& files) { OnDroppedFiles(files); },
                    [this] { return !m_burn.IsBurning(); }};
};
