// The recorder list filled from the engine at start-up, the window height that
// goes with it, and "&Erase".
#include "tests/burn/BurnTesting.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::wstring> RecorderEntries(const DialogHarness& h) {
    std::vector<std::wstring> entries;
    HWND list = h.Item(IDC_RECORDERS);
    auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.emplace_back(text);
    }
    return entries;
}

int SelectedRecorder(const DialogHarness& h) {
    return static_cast<int>(SendMessageW(h.Item(IDC_RECORDERS), CB_GETCURSEL, 0, 0));
}

int OuterHeight(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

// The start-up calls from the recorders on.
Calls RecorderCalls(const ScriptedEngine& engine) {
    Calls calls = engine.Calls();
    for (size_t i = 0; i < calls.size(); ++i)
        if (calls[i].rfind("GetDevices(", 0) == 0) return Calls(calls.begin() + i, calls.end());
    return {};
}

TEST(Recorders, TwentySixAreListedInOrderAndTheFirstIsHandedOver) {
    DialogHarness h;
    h.engine.devices.clear();
    for (int i = 0; i < 26; ++i)
        h.engine.devices.push_back(std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L": Writer " +
                                   std::to_wstring(i));
    ASSERT_TRUE(h.Start());

    EXPECT_EQ(h.engine.devices, RecorderEntries(h));
    EXPECT_EQ(0, SelectedRecorder(h));
    EXPECT_EQ((Calls{"GetDevices(0,1)", "SetDevice(0x003A0041)"}), RecorderCalls(h.engine));
    EXPECT_EQ(558, OuterHeight(h.Window()));
    EXPECT_EQ(0u, h.boxes.Count());
}

TEST(Recorders, NoneListedMeansNoDeviceAndNoSelection) {
    DialogHarness h;
    h.engine.devices.clear();
    ASSERT_TRUE(h.Start());
    EXPECT_TRUE(RecorderEntries(h).empty());
    EXPECT_EQ(CB_ERR, SelectedRecorder(h));
    EXPECT_EQ(Calls{"GetDevices(0,1)"}, RecorderCalls(h.engine));
    EXPECT_EQ(0u, h.boxes.Count());
}

TEST(Recorders, AFailingListIsReportedAndLeftEmpty) {
    DialogHarness h;
    h.engine.texts[70] = L"No recorder driver.";
    h.engine.SetResult("GetDevices", 70);
    ASSERT_TRUE(h.Start());
    EXPECT_TRUE(RecorderEntries(h).empty());
    EXPECT_EQ(CB_ERR, SelectedRecorder(h));
    EXPECT_EQ(Lines{L"error: No recorder driver."}, h.InformationLines());
    ASSERT_EQ(1u, h.boxes.Count());
    EXPECT_EQ(L"error: No recorder driver.", h.boxes.Boxes()[0].text);
    EXPECT_TRUE(h.engine.CallsNamed("SetDevice").empty());
    EXPECT_TRUE(IsWindowVisible(h.Window())); // the dialog carries on

    h.AppendRow(L"C:\\a.wav", L"00:00:10");
    PressBurnAndTick(h);
    EXPECT_TRUE(h.engine.CallsNamed("SetDevice").empty());
    EXPECT_EQ(1u, h.engine.CallsNamed("Burn").size());
}

TEST(Recorders, AFailingFirstDeviceKeepsOneEntryAndNoSelection) {
    DialogHarness h;
    h.engine.devices = {L"Im Image Recorder", L"D: Writer", L"E: Writer"};
    h.engine.QueueResults("SetDevice", {71});
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(std::vector<std::wstring>{L"Im Image Recorder"}, RecorderEntries(h));
    EXPECT_EQ(CB_ERR, SelectedRecorder(h));
    EXPECT_EQ(1u, h.engine.CallsNamed("SetDevice").size());
    EXPECT_EQ(1u, h.boxes.Count());

    // With nothing selected, a burn names no recorder.
    h.AppendRow(L"C:\\a.wav", L"00:00:10");
    PressBurnAndTick(h);
    EXPECT_EQ(1u, h.engine.CallsNamed("SetDevice").size());
}

TEST(Recorders, AMisreportedCountReadsNoFurtherThanTheSlots) {
    DialogHarness h;
    h.engine.devices = {L"Im Image Recorder", L"D: Writer"};
    h.engine.reportedDeviceCount = 1000;
    ASSERT_TRUE(h.Start());
    std::vector<std::wstring> entries = RecorderEntries(h);
    ASSERT_EQ(26u, entries.size());
    EXPECT_EQ(L"Im Image Recorder", entries[0]);
    EXPECT_EQ(L"D: Writer", entries[1]);
    EXPECT_EQ(L"", entries[25]); // slots the engine left as they were given: empty

    DialogHarness negative;
    negative.engine.reportedDeviceCount = -5;
    ASSERT_TRUE(negative.Start());
    EXPECT_TRUE(RecorderEntries(negative).empty());
}

TEST(Recorders, TheBurnDialogBoxShortensTheWindowAndListsAgain) {
    DialogHarness h;
    h.engine.devices = {L"Im Image Recorder", L"D: Writer"};
    ASSERT_TRUE(h.Start());
    h.engine.ClearCalls();

    SendMessageW(h.Item(IDC_BURN_WITH_DIALOG), BM_SETCHECK, BST_CHECKED, 0);
    h.Command(IDC_BURN_WITH_DIALOG);
    EXPECT_EQ(457, OuterHeight(h.Window()));
    // The list is not emptied first.
    EXPECT_EQ((std::vector<std::wstring>{L"Im Image Recorder", L"D: Writer", L"Im Image Recorder",
                                         L"D: Writer"}),
              RecorderEntries(h));
    EXPECT_EQ((Calls{"GetDevices(0,1)", "SetDevice(0x006D0049)"}), h.engine.Calls());

    SendMessageW(h.Item(IDC_BURN_WITH_DIALOG), BM_SETCHECK, BST_UNCHECKED, 0);
    h.Command(IDC_BURN_WITH_DIALOG);
    EXPECT_EQ(558, OuterHeight(h.Window()));
}

TEST(Erase, StopsThePreviewAndLeavesTheRestToTheEngine) {
    DialogHarness h;
    h.engine.devices = {L"Im Image Recorder", L"D: Writer"};
    StartWithTracks(h, {L"C:\\a.wav"});
    h.Click(IDC_PLAY);
    SendMessageW(h.Item(IDC_RECORDERS), CB_SETCURSEL, 1, 0);
    h.engine.ClearCalls();

    h.Click(IDC_ERASE);
    // No device of its own: the engine keeps the one it was last given.
    EXPECT_EQ((Calls{"AudioFileStop()", "EraseDialog(Erase)"}), h.engine.Calls());
    // Erase's stop does not count as the user's Stop.
    EXPECT_TRUE(h.dialog->IsPreviewPlaying());
    EXPECT_EQ(0u, h.boxes.Count());
    EXPECT_FALSE(h.dialog->IsBurning());
    EXPECT_TRUE(h.InformationLines().empty());
}

TEST(Erase, AFailureIsReportedAndNothingElseChanges) {
    DialogHarness h;
    StartWithTracks(h, {L"C:\\a.wav"});
    h.engine.texts[72] = L"The disc is not rewritable.";
    h.engine.QueueResults("EraseDialog", {72});
    h.Click(IDC_ERASE);
    EXPECT_EQ(Lines{L"error: The disc is not rewritable."}, h.InformationLines());
    ASSERT_EQ(1u, h.boxes.Count());
    EXPECT_EQ(L"error: The disc is not rewritable.", h.boxes.Boxes()[0].text);
    EXPECT_EQ(ExpectedStateBeforeTheFirstRun(), StateOfLockedControls(h));
}

} // namespace
