// The preview player: which track Play and the list's double click choose,
// the stop that always comes first, Stop, and the preview playing flag.
#include "tests/burn/BurnTesting.h"

namespace {

const std::vector<std::wstring> kTracks = {L"C:\\one.wav", L"C:\\two.mp3", L"C:\\three.ogg"};

void DoubleClickList(DialogHarness& h) {
    NMHDR header{h.Item(IDC_TRACKS), IDC_TRACKS, static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(h.Window(), WM_NOTIFY, IDC_TRACKS, reinterpret_cast<LPARAM>(&header));
}

struct Choice {
    std::vector<int> selected;
    const char* played; // nothing with an empty list
};

class Play : public testing::TestWithParam<Choice> {};

TEST_P(Play, StopsFirstThenPlaysTheFirstSelectedRowOrTheFirstRow) {
    DialogHarness h;
    StartWithTracks(h, GetParam().played ? kTracks : std::vector<std::wstring>{});
    h.SelectRows(GetParam().selected);
    Calls expected;
    for (int press = 0; press < 2; ++press) {
        h.Click(IDC_PLAY);
        expected.push_back("AudioFileStop()");
        if (GetParam().played)
            expected.push_back(std::string("PlayAudioFile(") + GetParam().played + ")");
    }
    EXPECT_EQ(expected, h.engine.calls);
    EXPECT_EQ(GetParam().played != nullptr, h.dialog->Player().IsPlaying());
    EXPECT_EQ(0u, h.boxes.Count());
    // Play on a list emptied since leaves the flag: the engine may still play.
    h.tracks.DeleteAllItems();
    h.Click(IDC_PLAY);
    EXPECT_EQ(GetParam().played != nullptr, h.dialog->Player().IsPlaying());
    // Stop always tells the engine, and clears the flag.
    h.Click(IDC_STOP_PREVIEW);
    EXPECT_EQ("AudioFileStop()", h.engine.calls.back());
    EXPECT_FALSE(h.dialog->Player().IsPlaying());
}

INSTANTIATE_TEST_SUITE_P(EmptyNoneOneSeveral, Play,
                         testing::Values(Choice{{}, nullptr}, Choice{{}, "C:\\one.wav"},
                                         Choice{{2}, "C:\\three.ogg"},
                                         Choice{{1, 2}, "C:\\two.mp3"}));

// While idle, a double click plays the chosen row; while burning, nothing.
// A burn stops a playing preview before its first track, and only then.
TEST(DoubleClick, PlaysTheChosenRowWhileIdleOnly) {
    DialogHarness h;
    StartWithTracks(h, kTracks);
    h.SelectRows({2});
    DoubleClickList(h);
    EXPECT_EQ((Calls{"AudioFileStop()", "PlayAudioFile(C:\\three.ogg)"}), h.engine.calls);

    h.Click(IDC_BURN); // pending
    h.engine.calls.clear();
    DoubleClickList(h);
    h.Tick(TIMER_BURN_START); // running
    DoubleClickList(h);
    EXPECT_EQ("AudioFileStop()", h.engine.calls.at(0));
    EXPECT_EQ("AddFile(C:\\one.wav,\\,0,0,0)", h.engine.calls.at(1));
    EXPECT_EQ("Burn()", h.engine.calls.back());
    EXPECT_FALSE(h.dialog->Player().IsPlaying());
}

} // namespace
