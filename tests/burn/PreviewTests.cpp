// The preview player: which track Play and the list's double click choose,
// the stop that always comes first, and the preview playing flag.
#include "tests/burn/BurnTesting.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

const std::vector<std::wstring> kTracks = {L"C:\\one.wav", L"C:\\two.mp3", L"C:\\three.ogg"};

void DoubleClickList(DialogHarness& h) {
    NMHDR header{};
    header.hwndFrom = h.Item(IDC_TRACKS);
    header.idFrom = IDC_TRACKS;
    header.code = NM_DBLCLK;
    SendMessageW(h.Window(), WM_NOTIFY, IDC_TRACKS, reinterpret_cast<LPARAM>(&header));
    h.Pump();
}

TEST(Play, WithAnEmptyListOnlyStops) {
    DialogHarness h;
    StartWithTracks(h, {});
    h.Click(IDC_PLAY);
    EXPECT_EQ(Calls{"AudioFileStop()"}, h.engine.Calls());
    EXPECT_FALSE(h.dialog->IsPreviewPlaying());

    // A flag already set stays set: the list emptied, the engine may still play.
    h.AppendRow(L"C:\\one.wav", L"00:00:10");
    h.Click(IDC_PLAY);
    SendMessageW(h.Item(IDC_TRACKS), LVM_DELETEALLITEMS, 0, 0);
    h.engine.ClearCalls();
    h.Click(IDC_PLAY);
    EXPECT_EQ(Calls{"AudioFileStop()"}, h.engine.Calls());
    EXPECT_TRUE(h.dialog->IsPreviewPlaying());
}

struct Choice {
    std::vector<int> selected;
    const char* played;
};

class PlayChoice : public testing::TestWithParam<Choice> {};

TEST_P(PlayChoice, PlaysTheFirstSelectedRowOrTheFirstRow) {
    DialogHarness h;
    StartWithTracks(h, kTracks);
    h.SelectRows(GetParam().selected);
    h.Click(IDC_PLAY);
    EXPECT_EQ((Calls{"AudioFileStop()", std::string("PlayAudioFile(") + GetParam().played + ")"}),
              h.engine.Calls());
    EXPECT_TRUE(h.dialog->IsPreviewPlaying());
    EXPECT_EQ(0u, h.boxes.Count());
}

INSTANTIATE_TEST_SUITE_P(NoneOneSeveral, PlayChoice,
                         testing::Values(Choice{{}, "C:\\one.wav"}, Choice{{2}, "C:\\three.ogg"},
                                         Choice{{1, 2}, "C:\\two.mp3"},
                                         Choice{{0, 2}, "C:\\one.wav"}));

TEST(Play, AgainStopsTheRunningPreviewFirstAlsoForTheSameTrack) {
    DialogHarness h;
    StartWithTracks(h, kTracks);
    h.SelectRows({1});
    h.Click(IDC_PLAY);
    h.Click(IDC_PLAY);
    EXPECT_EQ((Calls{"AudioFileStop()", "PlayAudioFile(C:\\two.mp3)", "AudioFileStop()",
                     "PlayAudioFile(C:\\two.mp3)"}),
              h.engine.Calls());
}

TEST(Play, AnEngineThatCannotPlaySaysNothingAndTheFlagIsSetAnyway) {
    DialogHarness h;
    StartWithTracks(h, kTracks);
    h.engine.SetResult("PlayAudioFile", 80);
    h.Click(IDC_PLAY);
    EXPECT_EQ(0u, h.boxes.Count());
    EXPECT_TRUE(h.InformationLines().empty());
    EXPECT_TRUE(h.dialog->IsPreviewPlaying());
}

TEST(DoubleClick, PlaysTheChosenRowWhileIdle) {
    DialogHarness h;
    StartWithTracks(h, kTracks);
    h.SelectRows({2});
    DoubleClickList(h);
    EXPECT_EQ((Calls{"AudioFileStop()", "PlayAudioFile(C:\\three.ogg)"}), h.engine.Calls());
    EXPECT_TRUE(h.dialog->IsPreviewPlaying());
}

TEST(DoubleClick, DoesNothingWhileBurning) {
    DialogHarness h;
    StartWithTracks(h, kTracks);
    h.Click(IDC_BURN); // pending
    h.SelectRows({1});
    DoubleClickList(h);
    EXPECT_TRUE(h.engine.Calls().empty());

    h.Tick(TIMER_BURN_START); // running
    h.engine.ClearCalls();
    DoubleClickList(h);
    EXPECT_TRUE(h.engine.Calls().empty());
    EXPECT_FALSE(h.dialog->IsPreviewPlaying());
    // Play and Stop are locked with the rest.
    EXPECT_FALSE(h.Enabled(IDC_PLAY));
    EXPECT_FALSE(h.Enabled(IDC_STOP_PREVIEW));
}

TEST(Stop, AlwaysTellsTheEngineAndClearsTheFlag) {
    DialogHarness h;
    StartWithTracks(h, kTracks);
    h.Click(IDC_STOP_PREVIEW);
    EXPECT_EQ(Calls{"AudioFileStop()"}, h.engine.Calls());
    EXPECT_FALSE(h.dialog->IsPreviewPlaying());

    h.Click(IDC_PLAY);
    ASSERT_TRUE(h.dialog->IsPreviewPlaying());
    h.engine.ClearCalls();
    h.Click(IDC_STOP_PREVIEW);
    EXPECT_EQ(Calls{"AudioFileStop()"}, h.engine.Calls());
    EXPECT_FALSE(h.dialog->IsPreviewPlaying());

    // With the flag clear, a burn has no preview to stop.
    PressBurnAndTick(h);
    EXPECT_TRUE(h.engine.CallsNamed("AudioFileStop").size() == 1u);
}

} // namespace
