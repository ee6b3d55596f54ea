// The main dialog's start-up, command line, options, closing and keyboard:
// what it asks of a scripted engine, in which order, and what the user sees.
#include "engine/EngineResult.h"
#include "framework/CommandLine.h"
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Startup, BindsTheEngineInItsOrderAndShowsTheOptions) {
    DialogHarness h;
    h.engine.options.joliet = 1;
    h.engine.options.ejectAfterBurn = 1;
    ASSERT_TRUE(h.Start());

    EXPECT_EQ(
        (Calls{"Initialize(1)", "SetFinalizeEventCallback()", "SetBurnDoneEventCallback()",
               "SetProcessEventCallback()", "SetAudioDecoderEventCallback()",
               "SetAudioDecodeDoneEventCallback()", "CreateProject(0)", "GetOptions(not-defined)",
               "SetOptions(label=NEW,joliet=1,finalize=0,eject=1)", "GetDevices(0,1)",
               "SetDevice(0x006D0049)"}), // "Im": the first recorder's first two units
        h.engine.calls);
    // Every handler was handed the dialog's burn session as its context.
    void* context = h.dialog->Session().EventContext();
    EXPECT_EQ(context, std::get<0>(h.engine.handlers).second);
    EXPECT_EQ(context, std::get<4>(h.engine.handlers).second);

    std::string checked;
    for (int id : {IDC_EJECT, IDC_JOLIET, IDC_FINALIZE, IDC_BURN_WITH_DIALOG})
        checked += h.Checked(id) ? '1' : '0';
    EXPECT_EQ("1100", checked);
    EXPECT_EQ(0u, h.boxes.Count());
    EXPECT_TRUE(IsWindowVisible(h.Window()));
    EXPECT_EQ(L"Quillotune", h.Title());
    EXPECT_EQ(558, h.OuterHeight());
    EXPECT_EQ(L"NEW", h.Text(IDC_VOLUME_LABEL));
    EXPECT_EQ(L"Auto.", h.Text(IDC_SPEED));
    // The ruler's and the update question's timers run.
    EXPECT_TRUE(KillTimer(h.Window(), TIMER_RULER_REFRESH));
    EXPECT_TRUE(KillTimer(h.Window(), TIMER_UPDATE_QUESTION));
}

TEST(CommandLine, EmbeddingOrAutomationInAnyCaseSuppressTheSplash) {
    const struct {
        std::vector<std::wstring> arguments;
        bool splash;
    } table[] = {
        {{}, true},
        {{L"/Embedding"}, false},
        {{L"-automation"}, false},
        {{L"file.wav", L"/EMBEDDING"}, false},
        // Only switches count, and only whole words.
        {{L"Embedding"}, true},
        {{L"/Embeddings", L"-auto", L"/x"}, true},
    };
    for (const auto& row : table)
        EXPECT_EQ(row.splash, ParseCommandLine(row.arguments).SplashAllowed()) << row.splash;
}

// A refusal at each start-up call, or an export missing (callsMade 0).
struct Refusal {
    const char* name;
    size_t callsMade; // up to and including the refused one
};

class StartupRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(StartupRefusal, WarnsAndClosesBeforeTheDialogIsSeen) {
    DialogHarness h;
    if (GetParam().callsMade == 0)
        h.engine.api.Abort = nullptr;
    else
        h.engine.results[GetParam().name] = {7};
    h.Start();

    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Warning", boxes[0].caption);
    EXPECT_EQ(L"ASPI driver is not installed.\r\nPlease visit https://www.quillotune.example/aspi/ "
              L"for intallation instruction.",
              boxes[0].text);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);

    ASSERT_EQ(GetParam().callsMade, h.engine.calls.size());
    if (GetParam().callsMade > 0) {
        EXPECT_EQ(0u, h.engine.calls.back().find(GetParam().name));
    }
    EXPECT_TRUE(h.dialog->HasEnded());
    EXPECT_EQ(IDCANCEL, h.dialog->Result());
    EXPECT_FALSE(IsWindowVisible(h.Window()));
}

INSTANTIATE_TEST_SUITE_P(EachStartupCall, StartupRefusal,
                         testing::Values(Refusal{"Initialize", 1}, Refusal{"CreateProject", 7},
                                         Refusal{"GetOptions", 8}, Refusal{"SetOptions", 9},
                                         Refusal{"Abort", 0}));

TEST(Options, UndefinedFlagsShowUncheckedAndEachBoxWritesOnlyItsOwnByte) {
    DialogHarness h;
    h.engine.options.ejectAfterBurn = h.engine.options.joliet = h.engine.options.finalize = 0xFF;
    h.engine.options.reserved664 = 0x5A; // a neighbour of the flags
    ASSERT_TRUE(h.Start());
    EXPECT_FALSE(h.Checked(IDC_EJECT) || h.Checked(IDC_JOLIET) || h.Checked(IDC_FINALIZE));

    // Joliet and Finalize are hidden and disabled, but their commands write
    // through all the same; each click sends back GetOptions' record with
    // only its own byte changed.
    const struct {
        int id;
        uint8_t BurnOptions::*flag;
    } boxes[] = {{IDC_EJECT, &BurnOptions::ejectAfterBurn},
                 {IDC_JOLIET, &BurnOptions::joliet},
                 {IDC_FINALIZE, &BurnOptions::finalize}};
    for (const auto& box : boxes) {
        for (int state : {BST_CHECKED, BST_UNCHECKED}) {
            h.engine.calls.clear();
            SendMessageW(h.Item(box.id), BM_SETCHECK, state, 0);
            h.Command(box.id);
            ASSERT_EQ(2u, h.engine.calls.size()) << box.id;
            EXPECT_EQ("GetOptions(not-defined)", h.engine.calls[0]);
            BurnOptions expected = h.engine.options;
            expected.*box.flag = state == BST_CHECKED ? 1 : 0;
            EXPECT_EQ(0, std::memcmp(&expected, &h.engine.sentOptions.back(), sizeof expected))
                << box.id << " " << state;
        }
    }
    // A user's click on the one visible box toggles it.
    h.Click(IDC_EJECT);
    EXPECT_TRUE(h.Checked(IDC_EJECT));
    EXPECT_EQ(1, h.engine.sentOptions.back().ejectAfterBurn);
    EXPECT_EQ(0u, h.boxes.Count());
}

TEST(Options, EngineErrorsGiveOneLineAndOneBoxEach) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    h.engine.results["GetOptions"] = {21};
    h.engine.results["SetOptions"] = {22};
    h.Click(IDC_EJECT);

    const std::vector<std::wstring> lines{L"error: Engine text for code 21",
                                          L"error: Engine text for code 22"};
    EXPECT_EQ(lines, h.InformationLines());
    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(2u, boxes.size());
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ(L"Message: " + lines[i], boxes[i].caption + L": " + boxes[i].text);
    EXPECT_EQ(h.Window(), boxes[1].owner);
    EXPECT_EQ((Calls{"GetText(21,2048)", "GetText(22,2048)"}), h.engine.CallsNamed("GetText"));

    // An engine text without a zero is cut so that the line fits 2,048 units.
    h.engine.unterminatedText = true;
    h.engine.results["SetOptions"] = {5};
    h.Click(IDC_EJECT);
    EXPECT_EQ(L"error: " + std::wstring(2040, L'x'), h.InformationLines().back());
}

// The cut at 2,040 units keeps a surrogate pair whole or leaves it out whole.
TEST(ErrorLine, IsNeverCutBetweenTheHalvesOfASurrogatePair) {
    const std::wstring disc = L"\xD83D\xDCBF"; // U+1F4BF, two units
    const std::wstring before(2039, L'x');
    EXPECT_EQ(L"error: " + before, BuildErrorLine(before + disc + L"tail"));
    const std::wstring fits(2038, L'x');
    EXPECT_EQ(L"error: " + fits + disc, BuildErrorLine(fits + disc + L"tail"));
}

TEST(Closing, IsRefusedWhileBurning) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    h.dialog->Session().SetBurning(true);

    SendMessageW(h.Window(), WM_CLOSE, 0, 0);
    h.Command(IDCANCEL);
    ASSERT_EQ(2u, h.boxes.Count());
    EXPECT_EQ(L"Please stop burning before close!", h.boxes.Boxes()[1].text);
    EXPECT_FALSE(h.dialog->HasEnded());

    h.dialog->Session().SetBurning(false);
    SendMessageW(h.Window(), WM_CLOSE, 0, 0);
    h.Pump();
    EXPECT_TRUE(h.dialog->HasEnded());
    EXPECT_EQ(IDCANCEL, h.dialog->Result());
    EXPECT_EQ(2u, h.boxes.Count());
}

// Deleted while its window still stands, the main dialog destroys the window
// itself, while it is whole: the window's last messages meet the main dialog,
// not a base dialog whose derived part is already gone.
HWND g_destroying = nullptr;
bool g_wholeWhileDestroyed = false;

LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_DESTROYWND && reinterpret_cast<HWND>(wParam) == g_destroying)
        g_wholeWhileDestroyed =
            dynamic_cast<CDodezOvurerDlg*>(CWnd::FromHandle(g_destroying)) != nullptr;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Lifetime, TheDialogDestroysItsWindowWhileItIsWhole) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    g_destroying = h.Window();
    HHOOK hook = SetWindowsHookExW(WH_CBT, WatchDestroy, nullptr, GetCurrentThreadId());
    h.dialog.reset();
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(g_wholeWhileDestroyed);
    EXPECT_FALSE(IsWindow(g_destroying));
}

// The modal loop never hands keys to the dialog manager: Enter and Escape
// reach the focused control alone and do not end the dialog. A timer inside
// the modal loop types them, then presses "&Exit", which ends no dialog.
void CALLBACK TypeKeysThenExit(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(L"#32770", L"Quillotune");
    if (dialog == nullptr) return;
    KillTimer(nullptr, timer);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageW(dialog, WM_KEYDOWN, key, 1);
    }
    PostMessageW(dialog, WM_COMMAND, IDC_EXIT, 0);
}

TEST(Keyboard, EnterAndEscapeDoNothing) {
    ScriptedEngine engine;
    OpenFileChooser files; // never opened
    MessageBoxCatcher boxes;
    CDodezOvurerDlg dialog(engine.api, files);
    SetTimer(nullptr, 0, 50, TypeKeysThenExit);
    dialog.DoModal();
    EXPECT_FALSE(dialog.HasEnded());
}

} // namespace
