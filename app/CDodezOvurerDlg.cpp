#include "app/CDodezOvurerDlg.h"

#include "app/WebAddress.h"
#include "controls/CSplashWnd.h"
#include "framework/Application.h"

#include <cstring>

namespace {

// The caption label's bold font lives as long as the program.
UniqueFont g_boldCaptionFont;

} // namespace

// Every message the main dialog answers.
const MessageEntry<CDodezOvurerDlg> CDodezOvurerDlg::kMessageMap[] = {
    ON_WM_CREATE(OnCreate),                              // int OnCreate(CREATESTRUCTW*)
    ON_WM_PAINT(OnPaint),                                // void OnPaint()
    ON_MESSAGE(WM_QUERYDRAGICON, OnQueryDragIcon),       // LRESULT (WPARAM, LPARAM)
    ON_WM_CTLCOLOR(OnCtlColor),                          // HBRUSH (HDC, HWND, UINT)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown),           // LRESULT (WPARAM, LPARAM)
    ON_WM_CLOSE(OnClose),                                // void OnClose()
    ON_MESSAGE(WM_DESTROY, OnDestroy),                   // LRESULT (WPARAM, LPARAM)
    ON_MESSAGE(WM_DROPFILES, OnDropFiles),               // LRESULT (WPARAM, LPARAM)
    ON_WM_TIMER(OnTimer),                                // void OnTimer(UINT_PTR)
    ON_COMMAND(IDC_EXIT, OnExit),                        // void OnExit()
    ON_COMMAND(IDC_BANNER, OnBanner),                    // void OnBanner()
    ON_COMMAND(IDC_EJECT, OnEjectClicked),               // void ()
    ON_COMMAND(IDC_JOLIET, OnJolietClicked),             // void ()
    ON_COMMAND(IDC_FINALIZE, OnFinalizeClicked),         // void ()
    ON_COMMAND(IDC_BURN_WITH_DIALOG, OnBurnWithDialog),  // void ()
    ON_COMMAND(IDC_ADD, OnAdd),                          // void OnAdd()
    ON_COMMAND(IDC_DELETE, OnDelete),                    // void OnDelete()
    ON_COMMAND(IDC_MOVE_UP, OnMoveUp),                   // void OnMoveUp()
    ON_COMMAND(IDC_MOVE_DOWN, OnMoveDown),               // void OnMoveDown()
    ON_COMMAND(IDC_BURN, OnBurnNow),                     // void OnBurnNow()
    ON_COMMAND(IDC_ERASE, OnErase),                      // void OnErase()
    ON_COMMAND(IDC_PLAY, OnPlay),                        // void OnPlay()
    ON_COMMAND(IDC_STOP_PREVIEW, OnStopPreview),         // void OnStopPreview()
    ON_NOTIFY(NM_DBLCLK, IDC_TRACKS, OnTrackListDblClk), // LRESULT (NMHDR*)
};

CDodezOvurerDlg::CDodezOvurerDlg(const EngineApi& engine, IFileChooser& files)
    : CDialog(IDD_QUILLOTUNE), m_engine(engine), m_files(files) {
    m_icon.Reset(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM),
                                      IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
}

CDodezOvurerDlg::~CDodezOvurerDlg() {
    // While every part of the dialog is still there to hear the last messages.
    if (m_hWnd != nullptr) DestroyWindow(m_hWnd);
}

void CDodezOvurerDlg::SetShellOpen(const ShellOpener& open) {
    m_webLink.SetShellOpen(open);
    m_updateQuestion.SetShellOpen(open);
}

bool CDodezOvurerDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                           LRESULT& result) {
    return DispatchMessageMap(kMessageMap, *this, message, wParam, lParam, result) ||
           CDialog::ProcessWindowMessage(message, wParam, lParam, result);
}

void CDodezOvurerDlg::DoDataExchange(DataExchange& dx) {
    dx.Control(IDC_STOP_PREVIEW, m_stopButton);
    dx.Control(IDC_PLAY, m_playButton);
    dx.Control(IDC_ADD, m_addButton);
    dx.Control(IDC_DECODER_PROGRESS, m_decoderProgress);
    dx.Control(IDC_TRACKS, m_tracks.View());
    dx.Control(IDC_EXIT, m_exitButton);
    dx.Control(IDC_ERASE, m_eraseButton);
    dx.Control(IDC_DELETE, m_deleteButton);
    dx.Control(IDC_BURN, m_burnButton);
    dx.Control(IDC_RECORDERS, m_burn.RecorderBox());
    dx.Control(IDC_BURN_PROGRESS, m_burn.ProgressBar());
    dx.Control(IDC_INFORMATION, m_information);
    dx.Check(IDC_JOLIET, m_joliet);
    dx.Check(IDC_FINALIZE, m_finalize);
    dx.Check(IDC_EJECT, m_eject);
    dx.Check(IDC_BURN_WITH_DIALOG, m_burn.BurnWithDialog());
    dx.Text(IDC_TOTALS, m_totals.Text());
    dx.Control(IDC_MOVE_UP, m_moveUpButton);
    dx.Control(IDC_MOVE_DOWN, m_moveDownButton);
    dx.Control(IDC_VOLUME_LABEL, m_burn.VolumeLabel());
    dx.Control(IDC_SPEED, m_speedList);
}

bool CDodezOvurerDlg::PreTranslateMessage(MSG*) {
    // Keyboard input is never handed to the dialog manager: each key goes to
    // the focused control alone.
    return false;
}

bool CDodezOvurerDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_burn.AttachWindow();
    SendMessageW(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.Get()));
    SendMessageW(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon.Get()));
    ConfigureIconButtons();
    m_webLink.AttachControl(GetDlgItem(IDC_WEB_LINK));
    m_webLink.SetTargetAddress(MakerWebAddress());
    FillSpeedList();
    m_tracks.SetUpColumns();
    m_burn.ProgressBar().SetRange(0, 100);
    m_decoderProgress.SetRange(0, 100);
    if (!BindEngine()) {
        ShowStartupFailure();
        return true;
    }
    SetOuterHeight(kWindowHeight);
    UpdateData(false);
    BoldenCaption();
    m_totals.AttachRuler();
    m_burn.VolumeLabel().SetWindowTextW(L"NEW");
    m_burn.FillRecorderList();
    SetTimer(m_hWnd, TIMER_RULER_REFRESH, 500, nullptr);
    SetTimer(m_hWnd, TIMER_UPDATE_QUESTION, 1000, nullptr);
    m_drop.Accept(m_hWnd);
    return true;
}

void CDodezOvurerDlg::ConfigureIconButtons() {
    struct IconButton {
        CXPStyleButtonST& button;
        int icon;
    };
    const IconButton buttons[] = {
        {m_playButton, IDI_PLAY},
        {m_stopButton, IDI_STOP},
        {m_addButton, IDI_ADD},
        {m_deleteButton, IDI_DELETE},
        {m_eraseButton, IDI_ERASE},
        {m_burnButton, IDI_BURN},
        {m_exitButton, IDI_EXIT},
        {m_moveUpButton, IDI_MOVE_UP},
        {m_moveDownButton, IDI_MOVE_DOWN},
    };
    for (const IconButton& entry : buttons) {
        entry.button.UseIconResources(entry.icon, 0);
        entry.button.UseFlatLook(false, true);
    }
    for (const IconButton& entry : buttons)
        entry.button.AttachThemeHelper(&m_themeHelper);
}

void CDodezOvurerDlg::FillSpeedList() const {
    for (const wchar_t* speed : {L"Auto.", L"48x.", L"32x.", L"24x.", L"12x.", L"8x."})
        m_speedList.AddString(speed);
    m_speedList.SetCurSel(0);
}

// Initialize, the event handlers, the project and the options, in this order;
// false at the first refusal (or for an engine without all its exports).
bool CDodezOvurerDlg::BindEngine() {
    if (!m_engine.IsComplete() || m_engine.Initialize(1) != 0) return false;
    m_burn.InstallEventHandlers();
    if (m_engine.CreateProject(0) != 0) return false;
    return LoadOptions();
}

// The engine's options into the check boxes' values, and "NEW" as the label.
bool CDodezOvurerDlg::LoadOptions() {
    BurnOptions options;
    SetNotDefined(options);
    if (m_engine.GetOptions(&options) != 0) return false;
    std::memset(options.volumeLabel, 0, sizeof options.volumeLabel);
    std::memcpy(options.volumeLabel, "NEW", 3);
    // Read as signed bytes: "not defined" (0xFF) becomes -1, shown unchecked.
    m_joliet = static_cast<int8_t>(options.joliet);
    m_eject = static_cast<int8_t>(options.ejectAfterBurn);
    m_finalize = static_cast<int8_t>(options.finalize);
    if (m_engine.SetOptions(options) != 0) return false;
    m_burn.BurnWithDialog() = 0;
    return true;
}

void CDodezOvurerDlg::BoldenCaption() const {
    HWND caption = GetDlgItem(IDC_CAPTION);
    auto font = reinterpret_cast<HFONT>(::SendMessageW(caption, WM_GETFONT, 0, 0));
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW description{};
    if (GetObjectW(font, sizeof description, &description) != sizeof description) return;
    description.lfWeight = FW_BOLD;
    if (!g_boldCaptionFont) g_boldCaptionFont.Reset(CreateFontIndirectW(&description));
    ::SendMessageW(caption, WM_SETFONT, reinterpret_cast<WPARAM>(g_boldCaptionFont.Get()), TRUE);
}

void CDodezOvurerDlg::ShowStartupFailure() {
    std::wstring text = L"ASPI driver is not installed.\r\nPlease visit " + MakerWebAddress() +
                        L"/aspi/ for intallation instruction.";
    MessageBoxW(m_hWnd, text.c_str(), L"Warning", MB_OK);
    OnCancel();
}

void CDodezOvurerDlg::OnOptionClicked(int controlId) {
    UpdateData(true);
    BurnOptions options;
    SetNotDefined(options);
    m_report(m_engine.GetOptions(&options));
    // Whatever that reported, the clicked box's byte goes back with the rest.
    switch (controlId) {
    case IDC_EJECT:
        options.ejectAfterBurn = static_cast<uint8_t>(m_eject & 0xFF);
        break;
    case IDC_JOLIET:
        options.joliet = static_cast<uint8_t>(m_joliet & 0xFF);
        break;
    case IDC_FINALIZE:
        options.finalize = static_cast<uint8_t>(m_finalize & 0xFF);
        break;
    default:
        break;
    }
    m_report(m_engine.SetOptions(options));
}

void CDodezOvurerDlg::OnTimer(UINT_PTR timerId) {
    switch (timerId) {
    case TIMER_BURN_START:
        m_burn.OnStartTimer();
        break;
    case TIMER_RULER_REFRESH:
        if (!m_burn.IsBurning()) m_totals.RepaintRuler();
        break;
    case TIMER_UPDATE_QUESTION:
        KillTimer(m_hWnd, TIMER_UPDATE_QUESTION); // asked once
        m_updateQuestion.Ask(m_hWnd);
        break;
    default:
        DefaultProc(WM_TIMER, timerId, 0);
        break;
    }
}

int CDodezOvurerDlg::OnCreate(CREATESTRUCTW* create) {
    if (DefaultProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(create)) == -1) return -1;
    // The application's main window from now on: the splash centres on its
    // monitor and has it repaint when the picture goes.
    if (CWinApp* app = CWinApp::Current()) app->SetMainWindow(m_hWnd);
    CSplashWnd::OpenSplash(m_hWnd);
    return 0;
}

void CDodezOvurerDlg::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        DefaultProc(WM_PAINT, 0, 0);
        return;
    }
    PaintGuard paint(m_hWnd);
    SendMessageW(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Dc()), 0);
    RECT client{};
    GetClientRect(m_hWnd, &client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(paint.Dc(), x, y, m_icon.Get());
}

LRESULT CDodezOvurerDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(m_icon.Get());
}

HBRUSH CDodezOvurerDlg::OnCtlColor(HDC dc, HWND control, UINT) {
    int id = GetDlgCtrlID(control);
    if (id != IDC_CAPTION && id != IDC_ADD_HINT) return nullptr;
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
}

LRESULT CDodezOvurerDlg::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    // Let the user drag the window by any free spot.
    PostMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
    return DefaultProc(WM_LBUTTONDOWN, wParam, lParam);
}

bool CDodezOvurerDlg::RefuseWhileBurning() {
    if (!m_burn.IsBurning()) return false;
    MessageBoxW(m_hWnd, L"Please stop burning before close!", L"Message", MB_OK);
    return true;
}

void CDodezOvurerDlg::OnClose() {
    if (RefuseWhileBurning()) return;
    DefaultProc(WM_CLOSE, 0, 0);
}

void CDodezOvurerDlg::OnOK() {
    if (RefuseWhileBurning()) return;
    CDialog::OnOK();
}

void CDodezOvurerDlg::OnCancel() {
    if (RefuseWhileBurning()) return;
    CDialog::OnCancel();
}

LRESULT CDodezOvurerDlg::OnDestroy(WPARAM wParam, LPARAM lParam) {
    // From here on the engine's events find no window to show themselves in.
    m_burn.DetachWindow();
    m_drop.Revoke();
    return DefaultProc(WM_DESTROY, wParam, lParam);
}
