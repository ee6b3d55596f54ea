// The main dialog: the compilation, its totals, the burn run and the preview.
// The class is split across files, one per room: app/ holds its life cycle,
// initialisation and options; compilation/, burn/ and player/ define the
// handlers of their features.
#pragma once

#include "controls/CButtonST.h"
#include "controls/CMyHyperLink.h"
#include "controls/CSizeRange.h"
#include "controls/CThemeHelperST.h"
#include "controls/CXPStyleButtonST.h"
#include "controls/ShellCall.h"
#include "engine/EngineBinding.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "base/Handles.h"
#include "resources/resource.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>

class IFileChooser;

class CDodezOvurerDlg : public CDialog {
public:
    // `engine` is the bound engine (or an empty binding when it could not be
    // loaded); `files` is the Open dialog behind a seam, so tests choose files.
    CDodezOvurerDlg(const EngineApi& engine, IFileChooser& files);
    ~CDodezOvurerDlg() override;

    // What the engine's event handlers reach, from any thread, also after the
    // dialog has ended: the window (null once destroyed) and the burning flag.
    struct EventTarget {
        std::atomic<HWND> window{nullptr};
        std::atomic<bool> burning{false};
    };

    // The context handed to the engine with every event handler.
    void* EventContext() { return this; }

    bool IsBurning() const { return m_eventTarget->burning.load(); }
    bool IsPreviewPlaying() const { return m_previewPlaying; }

    // The shell behind a seam (the web-site link and the update question open
    // the maker's site through it), and the update question's random draw.
    void SetShellOpen(ShellOpener open);
    void SetRandomDraw(std::function<int()> draw) { m_randomDraw = std::move(draw); }

    // The start-up text of the totals line.
    static const wchar_t kInitialTotalsText[];

    // Operations other rooms share (each defined in its room).
    bool CheckEngineResult(int32_t code); // engine/
    void AddInformationLine(const std::wstring& line);
    void UpdateTotals(); // compilation/
    std::wstring BuildTotalsText(int totalSeconds) const;
    void SetupCapacityRuler();
    void SetBurning(bool burning); // burn/
    // The same switch through the shared target, for the event handlers on
    // any thread; does nothing to a window that is gone.
    static void SetBurning(EventTarget& target, bool burning);
    void AddTracksToProject();
    void FillRecorderList();

    // The engine's event handlers (burn/EngineEvents.cpp).
    static void ENGINE_CALL OnFinalizeEvent(void* context);
    static void ENGINE_CALL OnBurnDoneEvent(const char* errorText, void* context);
    static void ENGINE_CALL OnProcessEvent(float percent, uint32_t, float bufferFill,
                                           double bytesWritten, uint64_t, void* context);
    static void ENGINE_CALL OnAudioDecoderEvent(float percent, uint64_t, void* context);
    static void ENGINE_CALL OnAudioDecodeDoneEvent(const char* fileName, uint32_t, int32_t error,
                                                   void* context);

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

    // Life cycle and window-level handlers (app/).
    int OnCreate(CREATESTRUCTW* create); // opens the splash
    void OnPaint();                      // the icon when minimised
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT message);
    LRESULT OnLButtonDown(WPARAM, LPARAM); // drag by a free spot
    void OnClose();
    void OnExit();
    void OnBanner();
    LRESULT OnDestroy(WPARAM, LPARAM);
    void ShowStartupFailure();
    void ConfigureIconButtons();
    void ShortenWindow(int outerHeight);
    void OnOptionClicked(int controlId);
    void OnEjectClicked() { OnOptionClicked(IDC_EJECT); }
    void OnJolietClicked() { OnOptionClicked(IDC_JOLIET); }
    void OnFinalizeClicked() { OnOptionClicked(IDC_FINALIZE); }
    void OnTimer(UINT_PTR timerId);
    void OnUpdateQuestion(); // app/UpdateQuestion.cpp
    bool RefuseWhileBurning();

    // Track list (compilation/).
    void OnAdd();
    void OnDelete();
    void OnMoveUp();
    void OnMoveDown();
    void MoveFirstSelected(int step);

    // Burn run (burn/).
    void OnBurnNow();
    void StartStep();
    void StopBurning();
    void OnErase();
    void OnBurnWithDialog();

    // Preview (player/).
    void OnPlay();
    void OnStopPreview();
    LRESULT OnTrackListDblClk(NMHDR* header);
    void PlayChosenTrack();

    const EngineApi& m_engine;
    IFileChooser& m_files;
    std::shared_ptr<EventTarget> m_eventTarget;

    // Members in the order the dialog declares them.
    CMyHyperLink m_webLink;
    CXPStyleButtonST m_stopButton;
    CXPStyleButtonST m_playButton;
    CXPStyleButtonST m_addButton;
    CProgressCtrl m_decoderProgress;
    CListCtrl m_trackList;
    CXPStyleButtonST m_exitButton;
    CXPStyleButtonST m_eraseButton;
    CXPStyleButtonST m_deleteButton;
    CXPStyleButtonST m_burnButton;
    CThemeHelperST m_themeHelper;
    CComboBox m_recorderList;
    CProgressCtrl m_burnProgress;
    CListBox m_information;
    int m_joliet = 0;
    int m_finalize = 0;
    int m_eject = 0;
    int m_burnWithDialog = 0;
    std::wstring m_totalsText;
    CSizeRange m_ruler;
    UniqueIcon m_icon;
    int m_totalPlayTime = 0;
    bool m_previewPlaying = false;
    CXPStyleButtonST m_moveUpButton;
    CXPStyleButtonST m_moveDownButton;
    CEdit m_volumeLabel;
    CComboBox m_speedList;
    CButton m_ejectBox;

    // The update question (app/UpdateQuestion.cpp).
    static int SeededRandomDraw();
    ShellOpener m_shellOpen{ExecuteShellCall};
    std::function<int()> m_randomDraw{SeededRandomDraw};
    bool m_updateQuestionAsked = false;
};
