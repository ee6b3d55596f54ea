// The main dialog's start-up, options, closing and keyboard, with a scripted
// engine: what it calls, in which order, and what the user sees.
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Calls = std::vector<std::string>;

const Calls kStartupCalls = {
    "Initialize(1)",
    "SetFinalizeEventCallback()",
    "SetBurnDoneEventCallback()",
    "SetProcessEventCallback()",
    "SetAudioDecoderEventCallback()",
    "SetAudioDecodeDoneEventCallback()",
    "CreateProject(0)",
    "GetOptions(not-defined)",
};

const wchar_t kWarningText[] =
    L"ASPI driver is not installed.\r\nPlease visit https://www.quillotune.example/aspi/ for "
    L"intallation instruction.";

Calls FirstCalls(const ScriptedEngine& engine, size_t count) {
    Calls calls = engine.Calls();
    if (calls.size() > count) calls.resize(count);
    return calls;
}

int OuterHeight(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

TEST(Startup, BindsTheEngineInItsOrderAndShowsTheOptions) {
    DialogHarness h;
    h.engine.options.joliet = 1;
    h.engine.options.finalize = 0;
    h.engine.options.ejectAfterBurn = 1;
    ASSERT_TRUE(h.Start());

    Calls expected = kStartupCalls;
    expected.push_back("SetOptions(label=NEW,joliet=1,finalize=0,eject=1)");
    expected.push_back("GetDevices(0,1)");
    expected.push_back("SetDevice(0x006D0049)"); // "Im": the first recorder's first two units
    EXPECT_EQ(expected, FirstCalls(h.engine, expected.size()));
    // Every handler was handed the dialog as its context.
    EXPECT_EQ(h.dialog->EventContext(), h.engine.handlers.finalizeContext);
    EXPECT_EQ(h.dialog->EventContext(), h.engine.handlers.audioDecodeDoneContext);

    EXPECT_TRUE(h.Checked(IDC_EJECT));
    EXPECT_TRUE(h.Checked(IDC_JOLIET));
    EXPECT_FALSE(h.Checked(IDC_FINALIZE));
    EXPECT_FALSE(h.Checked(IDC_BURN_WITH_DIALOG));
    EXPECT_EQ(0u, h.boxes.Count());

    EXPECT_TRUE(IsWindowVisible(h.Window()));
    EXPECT_EQ(L"Quillotune", h.Title());
    EXPECT_EQ(558, OuterHeight(h.Window()));
    EXPECT_EQ(L"NEW", h.Text(IDC_VOLUME_LABEL));
    EXPECT_EQ(std::wstring(CDodezOvurerDlg::kInitialTotalsText), h.Text(IDC_TOTALS));
}

TEST(Startup, FillsTheSpeedListAndTheTrackListColumns) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    HWND speed = h.Item(IDC_SPEED);
    ASSERT_EQ(6, SendMessageW(speed, CB_GETCOUNT, 0, 0));
    const wchar_t* speeds[] = {L"Auto.", L"48x.", L"32x.", L"24x.", L"12x.", L"8x."};
    for (int i = 0; i < 6; ++i) {
        wchar_t text[32] = {};
        SendMessageW(speed, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(speeds[i], text);
    }
    EXPECT_EQ(0, SendMessageW(speed, CB_GETCURSEL, 0, 0));

    HWND tracks = h.Item(IDC_TRACKS);
    const wchar_t* headers[] = {L"#", L"Filename", L"Playtime"};
    const int widths[] = {27, 320, 80};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[32] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = 32;
        ASSERT_TRUE(SendMessageW(tracks, LVM_GETCOLUMNW, static_cast<WPARAM>(i),
                                 reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(headers[i], text);
        EXPECT_EQ(widths[i], column.cx);
        EXPECT_EQ(LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK);
    }
    EXPECT_EQ(static_cast<LRESULT>(LVS_EX_FULLROWSELECT),
              SendMessageW(tracks, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    // The focus starts on the first tab stop in template order.
    EXPECT_EQ(h.Item(IDC_INFORMATION), GetFocus());
}

TEST(Startup, AnUndefinedFlagShowsUncheckedAndCountsAsOff) {
    DialogHarness h;
    h.engine.options.ejectAfterBurn = 0xFF;
    ASSERT_TRUE(h.Start());
    EXPECT_FALSE(h.Checked(IDC_EJECT));
    // The first click therefore turns it on.
    h.engine.ClearCalls();
    h.Click(IDC_EJECT);
    ASSERT_EQ(1u, h.engine.SetOptionsRecords().size() - 1);
    EXPECT_EQ(1, h.engine.SetOptionsRecords().back().ejectAfterBurn);
}

struct RefusedCall {
    const char* name;
    size_t callsMade; // calls up to and including the refused one
};

class StartupRefusal : public testing::TestWithParam<RefusedCall> {};

TEST_P(StartupRefusal, WarnsAndClosesBeforeTheDialogIsSeen) {
    DialogHarness h;
    h.engine.SetResult(GetParam().name, 7);
    h.Start();

    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Warning", boxes[0].caption);
    EXPECT_EQ(kWarningText, boxes[0].text);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);

    Calls calls = h.engine.Calls();
    ASSERT_EQ(GetParam().callsMade, calls.size());
    EXPECT_EQ(0u, calls.back().find(GetParam().name));
    EXPECT_TRUE(h.dialog->HasEnded());
    EXPECT_EQ(IDCANCEL, h.dialog->Result());
    EXPECT_FALSE(IsWindowVisible(h.Window()));
}

INSTANTIATE_TEST_SUITE_P(EachStartupCall, StartupRefusal,
                         testing::Values(RefusedCall{"Initialize", 1},
                                         RefusedCall{"CreateProject", 7},
                                         RefusedCall{"GetOptions", 8},
                                         RefusedCall{"SetOptions", 9}));

TEST(Startup, AMissingEngineWarnsLikeARefusal) {
    ScriptedFileChooser files;
    MessageBoxCatcher boxes;
    EngineApi empty;
    CDodezOvurerDlg dialog(empty, files);
    dialog.Create();
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(L"Warning", boxes.Boxes()[0].caption);
    EXPECT_TRUE(dialog.HasEnded());
}

TEST(Options, EjectClickWritesThatFlagThrough) {
    DialogHarness h;
    h.engine.options.ejectAfterBurn = 0;
    h.engine.options.joliet = 1;
    ASSERT_TRUE(h.Start());
    h.engine.ClearCalls();

    h.Click(IDC_EJECT);
    EXPECT_TRUE(h.Checked(IDC_EJECT));
    EXPECT_EQ((Calls{"GetOptions(not-defined)", "SetOptions(label=,joliet=1,finalize=0,eject=1)"}),
              h.engine.Calls());
    // Everything but the clicked flag goes back as GetOptions gave it.
    BurnOptions sent = h.engine.SetOptionsRecords().back();
    BurnOptions expected = h.engine.options;
    expected.ejectAfterBurn = 1;
    EXPECT_EQ(0, std::memcmp(&expected, &sent, sizeof sent));

    h.Click(IDC_EJECT);
    EXPECT_FALSE(h.Checked(IDC_EJECT));
    EXPECT_EQ(0, h.engine.SetOptionsRecords().back().ejectAfterBurn);
    EXPECT_EQ(2u, h.engine.CallsNamed("SetOptions").size());
    EXPECT_EQ(0u, h.boxes.Count());
}

TEST(Options, EngineErrorsGiveOneLineAndOneBoxEach) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    h.engine.texts[21] = L"Options are locked.";
    h.engine.texts[22] = L"Recorder is gone.";
    h.engine.QueueResults("GetOptions", {21});
    h.engine.QueueResults("SetOptions", {22});

    h.Click(IDC_EJECT);

    EXPECT_EQ((std::vector<std::wstring>{L"error: Options are locked.", L"error: Recorder is gone."}),
              h.InformationLines());
    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(L"Message", boxes[0].caption);
    EXPECT_EQ(L"error: Options are locked.", boxes[0].text);
    EXPECT_EQ(L"error: Recorder is gone.", boxes[1].text);
    EXPECT_EQ(h.Window(), boxes[1].owner);
    // The box keeps its new state although the engine refused it.
    EXPECT_TRUE(h.Checked(IDC_EJECT));
    Calls texts = h.engine.CallsNamed("GetText");
    EXPECT_EQ((Calls{"GetText(21,2048)", "GetText(22,2048)"}), texts);
}

TEST(Options, AnUnterminatedEngineTextIsCutToTheLine) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    h.engine.unterminatedText = true;
    h.engine.QueueResults("SetOptions", {5});
    h.Click(IDC_EJECT);
    auto lines = h.InformationLines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(2047u, lines[0].size());
    EXPECT_EQ(0u, lines[0].find(L"error: xxxx"));
}

TEST(Closing, IsRefusedWhileBurning) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    h.dialog->SetBurning(true);

    SendMessageW(h.Window(), WM_CLOSE, 0, 0);
    h.Pump();
    SendMessageW(h.Window(), WM_COMMAND, IDCANCEL, 0);
    h.Pump();
    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(L"Please stop burning before close!", boxes[0].text);
    EXPECT_EQ(L"Message", boxes[0].caption);
    EXPECT_FALSE(h.dialog->HasEnded());

    h.dialog->SetBurning(false);
    SendMessageW(h.Window(), WM_CLOSE, 0, 0);
    h.Pump();
    EXPECT_TRUE(h.dialog->HasEnded());
    EXPECT_EQ(IDCANCEL, h.dialog->Result());
    EXPECT_EQ(2u, h.boxes.Count());
}

TEST(Closing, ExitDestroysTheWindowAtOnceAndCallsNoEngine) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    h.engine.ClearCalls();
    HWND window = h.Window();
    h.Click(IDC_EXIT);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(h.engine.Calls().empty());
}

// The modal loop never hands keys to the dialog manager: Enter and Escape
// reach the focused control alone and do not end the dialog.
struct KeyScript {
    HWND dialog = nullptr;
    int step = 0;
    bool stillOpenAfterKeys = false;
};
KeyScript g_keys;

void CALLBACK DriveKeys(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(L"#32770", L"Quillotune");
    if (dialog == nullptr) return;
    if (g_keys.step == 0) {
        g_keys.dialog = dialog;
        HWND focus = GetDlgItem(dialog, IDC_INFORMATION);
        for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            PostMessageW(focus, WM_KEYDOWN, key, 1);
            PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        }
        PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
    } else if (g_keys.step == 3) {
        g_keys.stillOpenAfterKeys = IsWindowVisible(dialog) != FALSE;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_EXIT, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_EXIT)));
        KillTimer(nullptr, timer);
    }
    ++g_keys.step;
}

TEST(Keyboard, EnterAndEscapeDoNothing) {
    ScriptedEngine engine;
    ScriptedFileChooser files;
    MessageBoxCatcher boxes;
    CDodezOvurerDlg dialog(engine.Api(), files);
    g_keys = KeyScript{};
    SetTimer(nullptr, 0, 50, DriveKeys);
    dialog.DoModal();
    EXPECT_TRUE(g_keys.stillOpenAfterKeys);
    EXPECT_GE(g_keys.step, 4);
    EXPECT_FALSE(dialog.HasEnded()); // it was Exit that ended it, not Enter or Escape
}

} // namespace
