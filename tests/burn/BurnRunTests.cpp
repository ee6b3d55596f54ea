// The burn run from the dialog: the burn button in both states, the start
// step on the start timer's first tick, each way a run ends, and "&Stop".
#include "tests/burn/BurnTesting.h"

#include "framework/Text.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>

namespace {

const Calls kStartOfRun = {
    "AddFile(C:\\music\\a.wav,\\,0,0,0)",
    "AddFile(D:\\b.mp3,\\,0,0,0)",
    "AddFile(C:\\c.ogg,\\,0,0,0)",
    "SetDevice(0x006D0049)",
    "GetOptions(not-defined)",
    "SetOptions(label=MY DISC,joliet=1,finalize=0,eject=1)",
    "Prepare()",
    "Burn()",
};

const std::vector<std::wstring> kThreeTracks = {L"C:\\music\\a.wav", L"D:\\b.mp3", L"C:\\c.ogg"};

void SetVolumeLabel(DialogHarness& h, const std::wstring& label) {
    SetWindowTextW(h.Item(IDC_VOLUME_LABEL), label.c_str());
}

TEST(BurnButton, WithAnEmptyListOnlyAsksForFiles) {
    DialogHarness h;
    StartWithTracks(h, {});
    h.Click(IDC_BURN);

    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Please add audio files to burn!", boxes[0].text);
    EXPECT_EQ(L"Message", boxes[0].caption);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);
    EXPECT_EQ(h.Window(), boxes[0].owner);

    EXPECT_FALSE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedStateBeforeTheFirstRun(), StateOfLockedControls(h));
    EXPECT_TRUE(h.engine.Calls().empty());
    // No start timer was set, so there is none to kill.
    EXPECT_FALSE(KillTimer(h.Window(), TIMER_BURN_START));
}

TEST(BurnButton, LocksTheControlsAtOnceAndLeavesTheTitleForTheTick) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav"});
    h.Click(IDC_BURN);

    EXPECT_TRUE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(true), StateOfLockedControls(h));
    EXPECT_EQ(L"Quillotune", h.Title());
    // The list and the other check boxes stay as they were (two of those
    // are disabled in the template).
    EXPECT_TRUE(h.Enabled(IDC_TRACKS));
    EXPECT_TRUE(h.Enabled(IDC_BURN_WITH_DIALOG));
    EXPECT_FALSE(h.Enabled(IDC_JOLIET));
    EXPECT_FALSE(h.Enabled(IDC_FINALIZE));
    EXPECT_TRUE(h.engine.Calls().empty());
    EXPECT_EQ(0u, h.boxes.Count());

    // While the start is pending, closing is refused.
    SendMessageW(h.Window(), WM_CLOSE, 0, 0);
    h.Pump();
    ASSERT_EQ(1u, h.boxes.Count());
    EXPECT_EQ(L"Please stop burning before close!", h.boxes.Boxes()[0].text);
    EXPECT_FALSE(h.dialog->HasEnded());
}

TEST(BurnButton, TheRealStartTimerRunsTheStartStepOnce) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav"});
    SendMessageW(h.Item(IDC_BURN), BM_CLICK, 0, 0); // no harness pump: it drops real ticks
    EXPECT_TRUE(h.engine.CallsNamed("Prepare").empty());
    // Long enough for the 500 ms timer to fire twice if it were not one-shot.
    PumpWithTimers(1200);
    EXPECT_EQ(1u, h.engine.CallsNamed("Prepare").size());
    EXPECT_EQ(1u, h.engine.CallsNamed("AddFile").size());
    EXPECT_EQ(L"Quillotune (Start Burning...)", h.Title());
}

TEST(StartStep, HandsEverythingToTheEngineInOrder) {
    DialogHarness h;
    h.engine.options.joliet = 1;
    h.engine.options.ejectAfterBurn = 1;
    StartWithTracks(h, kThreeTracks);
    SetVolumeLabel(h, L"MY DISC");
    // Figures of an earlier run, which the start step resets.
    h.engine.RaiseProcess(40.0f, 12.5f, 5000.0);
    SendMessageW(h.Item(IDC_INFORMATION), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Burn Done"));

    std::wstring titleDuringPrepare, titleDuringBurn;
    Lines linesDuringPrepare;
    std::wstring bytesDuringPrepare, bufferDuringPrepare;
    int barDuringPrepare = -1;
    h.engine.during["Prepare"] = [&] {
        titleDuringPrepare = h.Title();
        linesDuringPrepare = h.InformationLines();
        bytesDuringPrepare = h.Text(IDC_BYTES_WRITTEN);
        bufferDuringPrepare = h.Text(IDC_BUFFER);
        barDuringPrepare = BarPosition(h, IDC_BURN_PROGRESS);
    };
    h.engine.during["Burn"] = [&] { titleDuringBurn = h.Title(); };

    h.Click(IDC_BURN);
    EXPECT_EQ(L"Quillotune", h.Title());
    h.Tick(TIMER_BURN_START);

    EXPECT_EQ(kStartOfRun, h.engine.Calls());
    EXPECT_EQ(L"Quillotune (Prepare Collection...)", titleDuringPrepare);
    EXPECT_EQ(Lines{L"Prepare Collection"}, linesDuringPrepare);
    EXPECT_EQ(L"0", bytesDuringPrepare);
    EXPECT_EQ(L"0", bufferDuringPrepare);
    EXPECT_EQ(0, barDuringPrepare);
    EXPECT_EQ(L"Quillotune (Start Burning...)", titleDuringBurn);

    // Running: the engine has the run now.
    EXPECT_EQ(L"Quillotune (Start Burning...)", h.Title());
    EXPECT_EQ((Lines{L"Prepare Collection", L"Start Burning..."}), h.InformationLines());
    EXPECT_TRUE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(true), StateOfLockedControls(h));
    EXPECT_EQ(0u, h.boxes.Count());

    // Only the label changed in the record GetOptions gave.
    BurnOptions expected = h.engine.options;
    std::memset(expected.volumeLabel, 0, sizeof expected.volumeLabel);
    std::memcpy(expected.volumeLabel, "MY DISC", 7);
    BurnOptions sent = h.engine.SetOptionsRecords().back();
    EXPECT_EQ(0, std::memcmp(&expected, &sent, sizeof sent));
    // The paths stayed valid for the whole call.
    EXPECT_EQ(kThreeTracks, h.engine.addedPaths);
}

TEST(StartStep, AnEmptyLabelFieldGivesAnEmptyLabel) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav"});
    SetVolumeLabel(h, L"");
    PressBurnAndTick(h);
    char empty[128] = {};
    ASSERT_EQ(2u, h.engine.SetOptionsRecords().size()); // start-up's and the run's
    EXPECT_EQ(0, std::memcmp(empty, h.engine.SetOptionsRecords()[1].volumeLabel, sizeof empty));
}

TEST(StartStep, ALongLabelIsCutToTheRecordsField) {
    DialogHarness h;
    h.engine.options.reserved128 = 0x11223344; // the field right after the label
    StartWithTracks(h, {L"C:\\a.wav"});
    // 300 characters of code page 1252, one byte each.
    SetVolumeLabel(h, std::wstring(300, L'\u00E9'));
    PressBurnAndTick(h);
    BurnOptions sent = h.engine.SetOptionsRecords().back();
    EXPECT_EQ(std::string(127, '\xE9'), std::string(sent.volumeLabel, 127));
    EXPECT_EQ('\0', sent.volumeLabel[127]);
    EXPECT_EQ(0x11223344, sent.reserved128);
}

// The label goes to the engine in the ANSI code page; where that page has
// double-byte characters, the cut must fall between characters.
TEST(VolumeLabel, TheCutNeverSplitsADoubleByteCharacter) {
    const unsigned japanese = 932;
    std::wstring label = L"A" + std::wstring(100, L'\u65E5'); // 1 + 200 bytes
    std::string cut = ToAnsiBounded(label, 127, japanese);
    ASSERT_EQ(127u, cut.size()); // "A" and 63 whole characters
    EXPECT_EQ(label.substr(0, 64), [&] {
        wchar_t back[128] = {};
        int length = MultiByteToWideChar(japanese, MB_ERR_INVALID_CHARS, cut.data(),
                                         static_cast<int>(cut.size()), back, 128);
        return std::wstring(back, static_cast<size_t>(length > 0 ? length : 0));
    }());

    // Without the leading single byte the 128th byte would be a lead byte.
    std::string even = ToAnsiBounded(std::wstring(100, L'\u65E5'), 127, japanese);
    EXPECT_EQ(126u, even.size());
    EXPECT_EQ(ToAnsiBounded(std::wstring(63, L'\u65E5'), 127, japanese), even);
}

TEST(StartStep, StopsAPlayingPreviewBeforeTheFirstTrack) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav", L"C:\\b.wav"});
    h.Click(IDC_PLAY);
    h.engine.ClearCalls();
    PressBurnAndTick(h);
    Calls calls = h.engine.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ("AudioFileStop()", calls[0]);
    EXPECT_EQ("AddFile(C:\\a.wav,\\,0,0,0)", calls[1]);
    EXPECT_FALSE(h.dialog->IsPreviewPlaying());

    // Without a preview nothing is stopped.
    DialogHarness quiet;
    StartWithTracks(quiet, {L"C:\\a.wav"});
    PressBurnAndTick(quiet);
    EXPECT_TRUE(quiet.engine.CallsNamed("AudioFileStop").empty());
}

TEST(StartStep, ARejectedTrackIsReportedAndTheRunGoesOn) {
    DialogHarness h;
    StartWithTracks(h, kThreeTracks);
    h.engine.texts[31] = L"This file cannot be read.";
    h.engine.QueueResults("AddFile", {0, 31, 0});
    size_t boxesBeforePrepare = 0;
    Lines linesBeforeReset;
    h.engine.during["SetDevice"] = [&] { linesBeforeReset = h.InformationLines(); };
    h.engine.during["Prepare"] = [&] { boxesBeforePrepare = h.boxes.Count(); };

    PressBurnAndTick(h);

    EXPECT_EQ(3u, h.engine.CallsNamed("AddFile").size());
    EXPECT_EQ(1u, h.engine.CallsNamed("Prepare").size());
    EXPECT_EQ(Lines{L"error: This file cannot be read."}, linesBeforeReset);
    EXPECT_EQ(1u, boxesBeforePrepare);
    ASSERT_EQ(1u, h.boxes.Count());
    EXPECT_EQ(L"error: This file cannot be read.", h.boxes.Boxes()[0].text);
    // The reset took the line away.
    EXPECT_EQ((Lines{L"Prepare Collection", L"Start Burning..."}), h.InformationLines());
    EXPECT_TRUE(h.dialog->IsBurning());
}

TEST(StartStep, WithoutARecorderNoDeviceIsNamed) {
    DialogHarness h;
    h.engine.devices.clear();
    StartWithTracks(h, {L"C:\\a.wav"});
    PressBurnAndTick(h);
    EXPECT_EQ((Calls{"AddFile(C:\\a.wav,\\,0,0,0)", "GetOptions(not-defined)",
                     "SetOptions(label=NEW,joliet=0,finalize=0,eject=0)", "Prepare()", "Burn()"}),
              h.engine.Calls());
}

TEST(StartStep, NamesTheRecorderSelectedNow) {
    DialogHarness h;
    h.engine.devices = {L"Im Image Recorder", L"D: Writer"};
    StartWithTracks(h, {L"C:\\a.wav"});
    SendMessageW(h.Item(IDC_RECORDERS), CB_SETCURSEL, 1, 0);
    PressBurnAndTick(h);
    EXPECT_EQ(Calls{"SetDevice(0x003A0044)"}, h.engine.CallsNamed("SetDevice"));
}

TEST(StartStep, AFailingRecorderEndsTheRunBeforeTheReset) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav", L"C:\\b.wav"});
    h.engine.texts[40] = L"Rejected.";
    h.engine.texts[41] = L"The recorder is not ready.";
    h.engine.QueueResults("AddFile", {40});
    h.engine.QueueResults("SetDevice", {41});
    PressBurnAndTick(h);

    EXPECT_EQ((Lines{L"error: Rejected.", L"error: The recorder is not ready."}),
              h.InformationLines());
    EXPECT_EQ(2u, h.boxes.Count());
    EXPECT_TRUE(h.engine.CallsNamed("GetOptions").empty());
    EXPECT_TRUE(h.engine.CallsNamed("Prepare").empty());
    EXPECT_FALSE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(false), StateOfLockedControls(h));
    EXPECT_EQ(L"Quillotune", h.Title());
}

struct FailingCall {
    const char* name;
    Lines linesLeft;
};

class StartStepFailure : public testing::TestWithParam<FailingCall> {};

TEST_P(StartStepFailure, EndsTheRunWithItsLines) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav"});
    h.engine.texts[50] = L"No disc.";
    h.engine.QueueResults(GetParam().name, {50});
    PressBurnAndTick(h);

    EXPECT_EQ(GetParam().linesLeft, h.InformationLines());
    ASSERT_EQ(1u, h.boxes.Count());
    EXPECT_EQ(L"error: No disc.", h.boxes.Boxes()[0].text);
    EXPECT_EQ(L"Message", h.boxes.Boxes()[0].caption);
    EXPECT_EQ(L"Quillotune", h.Title());
    EXPECT_FALSE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(false), StateOfLockedControls(h));
    // Nothing after the failing call but fetching its text.
    Calls calls = h.engine.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(std::string(GetParam().name) + "()", calls[calls.size() - 2]);
    EXPECT_EQ("GetText(50,2048)", calls.back());

    // The dialog is idle for real: the next press starts a new run.
    h.engine.ClearCalls();
    PressBurnAndTick(h);
    EXPECT_EQ(1u, h.engine.CallsNamed("Burn").size());
}

INSTANTIATE_TEST_SUITE_P(
    PrepareAndBurn, StartStepFailure,
    testing::Values(FailingCall{"Prepare", {L"Prepare Collection", L"error: No disc."}},
                    FailingCall{"Burn",
                                {L"Prepare Collection", L"Start Burning...", L"error: No disc."}}));

TEST(StartStep, BurnWithDialogLeavesTheRunToTheEnginesDialog) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav", L"C:\\b.wav"});
    SendMessageW(h.Item(IDC_BURN_WITH_DIALOG), BM_SETCHECK, BST_CHECKED, 0);
    h.engine.RaiseProcess(30.0f, 20.0f, 777.0);
    SendMessageW(h.Item(IDC_INFORMATION), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Burn Done"));
    h.engine.texts[60] = L"Cancelled.";
    h.engine.QueueResults("BurnDialog", {60});

    PressBurnAndTick(h);

    EXPECT_EQ((Calls{"AddFile(C:\\a.wav,\\,0,0,0)", "AddFile(C:\\b.wav,\\,0,0,0)",
                     "BurnDialog(0,0,1,Burn Audio Files to CD,)", "GetText(60,2048)"}),
              h.engine.Calls());
    // No title, no reset; the failure is reported and the dialog keeps burning.
    EXPECT_EQ(L"Quillotune", h.Title());
    EXPECT_EQ((Lines{L"Burn Done", L"error: Cancelled."}), h.InformationLines());
    EXPECT_EQ(L"777", h.Text(IDC_BYTES_WRITTEN));
    EXPECT_EQ(30, BarPosition(h, IDC_BURN_PROGRESS));
    EXPECT_TRUE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(true), StateOfLockedControls(h));

    // Its end comes as the burn-done event.
    h.engine.RaiseBurnDone(nullptr);
    EXPECT_FALSE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(false), StateOfLockedControls(h));
}

TEST(Stop, WhileTheStartIsPendingNoStartStepFollows) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav"});
    // The harness's own pump would drop the real ticks this test is about.
    SendMessageW(h.Item(IDC_BURN), BM_CLICK, 0, 0);
    SendMessageW(h.Item(IDC_BURN), BM_CLICK, 0, 0); // "&Stop", pausing a second

    EXPECT_EQ(Calls{"Abort()"}, h.engine.Calls());
    EXPECT_FALSE(h.dialog->IsBurning());
    EXPECT_EQ(ExpectedLockedState(false), StateOfLockedControls(h));
    // The timer fired during the pause; a tick left queued or a timer left
    // running would start the run now.
    PumpWithTimers(700);
    EXPECT_EQ(Calls{"Abort()"}, h.engine.Calls());
    EXPECT_EQ(L"Quillotune", h.Title());
    EXPECT_FALSE(h.dialog->IsBurning());
}

int g_rulerPaints = 0;

LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
    if (message == WM_PAINT) ++g_rulerPaints;
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST(Ruler, IsRepaintedOnItsTickOnlyWhileIdle) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav"});
    ASSERT_TRUE(SetWindowSubclass(h.Item(IDC_RULER), CountPaints, 77, 0));

    g_rulerPaints = 0;
    h.Tick(TIMER_RULER_REFRESH);
    EXPECT_GE(g_rulerPaints, 1);

    h.Click(IDC_BURN);
    g_rulerPaints = 0;
    h.Tick(TIMER_RULER_REFRESH);
    EXPECT_EQ(0, g_rulerPaints);
    RemoveWindowSubclass(h.Item(IDC_RULER), CountPaints, 77);
}

} // namespace
