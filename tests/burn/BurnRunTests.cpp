// The burn run: the burn button, the start step on its timer's tick, each way
// a start ends, "&Stop", the volume label's cut and the recorder list.
#include "base/Text.h"
#include "tests/burn/BurnTesting.h"

#include <chrono>
#include <cstring>

namespace {

const std::wstring kRunning = L"Quillotune (Start Burning...) | &Stop 0 | 0 | 0 | 0" + kRunLines;
const std::wstring kError = L"error: Engine text for code ";

TEST(BurnButton, WithAnEmptyListOnlyAsksForFiles) {
    DialogHarness h;
    StartWithTracks(h, {});
    h.Click(IDC_BURN);
    EXPECT_EQ(L"Quillotune | Burn Now! 12 | 0 | 0 | 0 [Message: Please add audio files to burn!]",
              Looks(h));
    EXPECT_TRUE(h.engine.calls.empty());
    EXPECT_FALSE(KillTimer(h.Window(), TIMER_BURN_START)); // no start is pending
}

TEST(StartStep, HandsEverythingToTheEngineInOrder) {
    DialogHarness h;
    h.engine.options.joliet = 1;
    h.engine.options.ejectAfterBurn = 1;
    h.engine.options.reserved128 = 0x11223344; // the field right after the label
    h.engine.devices = {L"Im Image Recorder", L"D: Writer"};
    StartWithTracks(h, {L"C:\\music\\a.wav", L"D:\\b.mp3", L"C:\\c.ogg"});
    SendMessageW(h.Item(IDC_RECORDERS), CB_SETCURSEL, 1, 0);
    // 300 characters of code page 1252, one byte each: cut to the record's 127.
    SetWindowTextW(h.Item(IDC_VOLUME_LABEL), std::wstring(300, L'\u00E9').c_str());
    const std::string label(127, '\xE9');
    // Figures of an earlier run, which the start step resets.
    h.engine.RaiseProcess(40.0f, 12.5f, 5000.0);
    h.information.AddString(L"Burn Done");
    std::wstring duringPrepare;
    h.engine.during["Prepare"] = [&] { duringPrepare = Looks(h); };

    h.Click(IDC_BURN);
    EXPECT_EQ(L"Quillotune | &Stop 0 | 5000 | 12.5 | 40 | Burn Done", Looks(h));
    EXPECT_TRUE(KillTimer(h.Window(), TIMER_BURN_START)); // the start comes on its tick
    h.Tick(TIMER_BURN_START);

    EXPECT_EQ((Calls{"AddFile(C:\\music\\a.wav,\\,0,0,0)", "AddFile(D:\\b.mp3,\\,0,0,0)",
                     "AddFile(C:\\c.ogg,\\,0,0,0)", "SetDevice(0x003A0044)", // "D:", chosen now
                     "GetOptions(not-defined)",
                     "SetOptions(label=" + label + ",joliet=1,finalize=0,eject=1)", "Prepare()",
                     "Burn()"}),
              h.engine.calls);
    EXPECT_EQ(L"Quillotune (Prepare Collection...) | &Stop 0 | 0 | 0 | 0 | Prepare Collection",
              duringPrepare);
    EXPECT_EQ(kRunning, Looks(h));
    // Only the label changed in the record GetOptions gave.
    BurnOptions expected = h.engine.options;
    std::memset(expected.volumeLabel, 0, sizeof expected.volumeLabel);
    std::memcpy(expected.volumeLabel, label.data(), label.size());
    EXPECT_EQ(0, std::memcmp(&expected, &h.engine.sentOptions.back(), sizeof expected));
}

// The volume label goes to the engine in the ANSI code page; where that page
// has double-byte characters, the cut must fall between characters.
TEST(AnsiText, TheBoundedCopyNeverSplitsADoubleByteCharacter) {
    const unsigned japanese = 932;
    const std::wstring day(100, L'\u65E5'); // two bytes each
    EXPECT_EQ(ToAnsiBounded(L"A" + day.substr(0, 63), 200, japanese),
              ToAnsiBounded(L"A" + day, 127, japanese));
    // Without the leading single byte the 127th byte would be a lead byte.
    EXPECT_EQ(ToAnsiBounded(day.substr(0, 63), 200, japanese), ToAnsiBounded(day, 127, japanese));
}

TEST(StartStep, ARejectedTrackIsReportedAndTheRunGoesOn) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav", L"C:\\b.wav", L"C:\\c.wav"});
    h.engine.results["AddFile"] = {0, 31, 0};
    std::wstring beforeReset;
    h.engine.during["SetDevice"] = [&] { beforeReset = Looks(h); };
    PressBurnAndTick(h);

    EXPECT_EQ(3u, h.engine.CallsNamed("AddFile").size());
    const std::wstring box = L" [Message: " + kError + L"31]";
    EXPECT_EQ(L"Quillotune | &Stop 0 | 0 | 0 | 0 | " + kError + L"31" + box, beforeReset);
    // Prepare still came, and the reset took the line away.
    EXPECT_EQ(kRunning + box, Looks(h));
}

struct Failure {
    const char* call;
    const wchar_t* lines;
};

class StartStepFailure : public testing::TestWithParam<Failure> {};

TEST_P(StartStepFailure, EndsTheRunWithItsLines) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav"});
    h.engine.results[GetParam().call] = {50};
    PressBurnAndTick(h);

    EXPECT_EQ(kIdle + L"0 | 0 | 0" + GetParam().lines + L" | " + kError + L"50 [Message: " +
                  kError + L"50]",
              Looks(h));
    // Nothing after the failing call but fetching its text.
    const Calls& calls = h.engine.calls;
    EXPECT_EQ(0u, calls.at(calls.size() - 2).find(GetParam().call));
    EXPECT_EQ("GetText(50,2048)", calls.back());

    // The dialog is idle for real: the next press starts a new run.
    h.engine.calls.clear();
    PressBurnAndTick(h);
    EXPECT_EQ(1u, h.engine.CallsNamed("Burn").size());
}

INSTANTIATE_TEST_SUITE_P(
    SetDevicePrepareAndBurn, StartStepFailure,
    testing::Values(Failure{"SetDevice", L""}, Failure{"Prepare", L" | Prepare Collection"},
                    Failure{"Burn", L" | Prepare Collection | Start Burning..."}));

TEST(StartStep, BurnWithDialogLeavesTheRunToTheEnginesDialog) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav", L"C:\\b.wav"});
    SendMessageW(h.Item(IDC_BURN_WITH_DIALOG), BM_SETCHECK, BST_CHECKED, 0);
    h.engine.RaiseProcess(30.0f, 20.0f, 777.0);
    h.engine.results["BurnDialog"] = {60};
    PressBurnAndTick(h);

    EXPECT_EQ((Calls{"AddFile(C:\\a.wav,\\,0,0,0)", "AddFile(C:\\b.wav,\\,0,0,0)",
                     "BurnDialog(0,0,1,Burn Audio Files to CD,)", "GetText(60,2048)"}),
              h.engine.calls);
    // No title, no reset; the failure is reported and the dialog keeps burning
    // until the burn-done event.
    EXPECT_EQ(L"Quillotune | &Stop 0 | 777 | 20.0 | 30 | " + kError + L"60 [Message: " + kError +
                  L"60]",
              Looks(h));
    h.engine.RaiseBurnDone(nullptr);
    EXPECT_EQ(0u, Looks(h).find(kIdle));
}

// The start timer gives one start step. "&Stop", while running or with the
// start still pending, pauses a second after Abort, then leaves the dialog
// idle with no start left to come: KillTimer finds no timer, and a stray
// tick (one already queued, or one that was never ours) starts nothing.
TEST(Stop, PausesASecondAndLeavesNoStartToCome) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav"});
    PressBurnAndTick(h);
    EXPECT_FALSE(KillTimer(h.Window(), TIMER_BURN_START));
    std::chrono::steady_clock::time_point aborted;
    std::wstring atAbort;
    h.engine.during["Abort"] = [&] {
        aborted = std::chrono::steady_clock::now();
        atAbort = h.Text(IDC_BURN);
    };
    for (bool pending : {false, true}) {
        h.engine.calls.clear();
        if (pending) h.Click(IDC_BURN);
        h.Click(IDC_BURN); // "&Stop"
        EXPECT_GE(std::chrono::steady_clock::now() - aborted, std::chrono::milliseconds(990));
        EXPECT_EQ(L"&Stop", atAbort) << pending;
        EXPECT_EQ(Calls{"Abort()"}, h.engine.calls) << pending;
        EXPECT_EQ(0u, Looks(h).find(kIdle)) << pending;
        EXPECT_FALSE(KillTimer(h.Window(), TIMER_BURN_START)) << pending;
        h.Tick(TIMER_BURN_START);
        EXPECT_EQ(Calls{"Abort()"}, h.engine.calls) << pending;
        EXPECT_EQ(0u, Looks(h).find(kIdle)) << pending;
    }
}

// Erase stops a preview first, leaving its flag as it is, then runs the
// engine's own erase dialog; a failure is reported like any other.
TEST(Erase, StopsThePreviewThenRunsTheEnginesEraseDialog) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav"});
    h.Click(IDC_PLAY);
    h.engine.calls.clear();
    h.engine.results["EraseDialog"] = {0, 80};
    h.Click(IDC_ERASE);
    EXPECT_EQ((Calls{"AudioFileStop()", "EraseDialog(Erase)"}), h.engine.calls);
    EXPECT_EQ(0u, h.boxes.Count());

    h.Click(IDC_ERASE);
    EXPECT_EQ("GetText(80,2048)", h.engine.calls.back());
    EXPECT_EQ(L"Quillotune | Burn Now! 12 | 0 | 0 | 0 | " + kError + L"80 [Message: " + kError +
                  L"80]",
              Looks(h));
    EXPECT_TRUE(h.dialog->Player().IsPlaying());
}

// The recorder list: its selection, then each entry's first two units.
std::wstring Recorders(const DialogHarness& h) {
    CComboBox list;
    list.AttachControl(h.Item(IDC_RECORDERS));
    std::wstring entries = std::to_wstring(list.GetCurSel());
    for (int i = 0; i < list.GetCount(); ++i)
        entries += L"," + list.GetLBText(i).substr(0, 2);
    return entries;
}

TEST(Recorders, TwentySixAreListedInOrderAndTheFirstIsHandedOver) {
    DialogHarness h;
    h.engine.devices.clear();
    std::wstring listed;
    for (wchar_t drive = L'A'; drive <= L'Z'; ++drive) {
        h.engine.devices.push_back(std::wstring(1, drive) + L": Writer");
        listed += L"," + h.engine.devices.back().substr(0, 2);
    }
    h.engine.reportedDeviceCount = 1000; // no further than the slots, all the same
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(L"0" + listed, Recorders(h));
    EXPECT_EQ("SetDevice(0x003A0041)", h.engine.calls.back());
    // "Burn with Dialog" shortens the window and lists again, without emptying.
    EXPECT_EQ(558, h.OuterHeight());
    h.Click(IDC_BURN_WITH_DIALOG);
    EXPECT_EQ(457, h.OuterHeight());
    h.Click(IDC_BURN_WITH_DIALOG);
    EXPECT_EQ(558, h.OuterHeight());
    EXPECT_EQ(L"0" + listed + listed + listed, Recorders(h));
}

// None listed, the list refused, or the first recorder refused: no selection,
// and a burn names no recorder.
class NoRecorder : public testing::TestWithParam<const char*> {};

TEST_P(NoRecorder, MeansNoDeviceAndNoSelection) {
    DialogHarness h;
    h.engine.results[GetParam()] = {70};
    if (GetParam() == std::string("none")) h.engine.devices.clear();
    StartWithTracks(h, {L"C:\\a.wav"});
    EXPECT_EQ(0u, Recorders(h).find(L"-1"));
    EXPECT_EQ(GetParam() == std::string("none") ? 0u : 1u, h.boxes.Count());
    PressBurnAndTick(h);
    EXPECT_TRUE(h.engine.CallsNamed("SetDevice").empty());
    EXPECT_EQ(0u, Looks(h).find(kRunning));
}

INSTANTIATE_TEST_SUITE_P(EachWay, NoRecorder, testing::Values("none", "GetDevices", "SetDevice"));

} // namespace
