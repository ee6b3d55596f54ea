// The track list's buttons with a scripted engine and scripted Open dialog:
// what the user sees in the rows, the boxes and the totals line.
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::vector<std::wstring>>;
using Lines = std::vector<std::string>;

const std::wstring kStartupTotals = CDodezOvurerDlg::kInitialTotalsText;

class TrackList : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(h.Start()); }

    // Rows 1..count, each file named after its row and lasting row minutes.
    void AppendRows(int count) {
        for (int row = 1; row <= count; ++row)
            h.AppendRow(L"C:\\t" + std::to_wstring(row) + L".wav",
                        L"00:0" + std::to_wstring(row) + L":00");
    }
    std::vector<std::wstring> Column(int column) const {
        std::vector<std::wstring> cells;
        for (const auto& row : h.Rows())
            cells.push_back(row[static_cast<size_t>(column)]);
        return cells;
    }

    DialogHarness h;
};

TEST_F(TrackList, AddMeasuresEachFileOnceAndLeavesOutTheOneThatFails) {
    h.engine.playTimes = {{L"C:\\a.wav", 245}, {L"C:\\c.wma", 3725}};
    h.files.QueueSelection({L"C:\\a.wav", L"C:\\b.mp3", L"C:\\c.wma"});
    h.Click(IDC_ADD);

    EXPECT_EQ(1, h.files.Calls());
    // Each call starts from 0 seconds.
    EXPECT_EQ(
        (Lines{"GetPlayTime(C:\\a.wav,0)", "GetPlayTime(C:\\b.mp3,0)", "GetPlayTime(C:\\c.wma,0)"}),
        h.engine.CallsNamed("GetPlayTime"));
    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Failed to load:C:\\b.mp3", boxes[0].text);
    EXPECT_EQ(L"Message", boxes[0].caption);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);
    EXPECT_EQ(h.Window(), boxes[0].owner);
    EXPECT_EQ((Rows{{L"1", L"C:\\a.wav", L"00:04:05"}, {L"2", L"C:\\c.wma", L"01:02:05"}}),
              h.Rows());
    EXPECT_EQ(L"2 songs, total time: 01:06:10, time left:<74min disc> 00:07:50 "
              L"<80min disc> 00:13:50",
              h.Text(IDC_TOTALS));

    // A second Add appends, numbering on; the same file may come twice.
    h.engine.ClearCalls();
    h.files.QueueSelection({L"C:\\a.wav"});
    h.Click(IDC_ADD);
    ASSERT_EQ(3u, h.Rows().size());
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"3"}), Column(0));
    EXPECT_EQ(L"C:\\a.wav", h.Rows()[2][1]);
    EXPECT_EQ(1u, h.engine.CallsNamed("GetPlayTime").size());
}

TEST_F(TrackList, AnAddWhereEveryFileFailsStillReTotals) {
    h.engine.playTimes = {{L"C:\\broken.ogg", -3}}; // below one second, like no answer
    h.files.QueueSelection({L"C:\\empty.wav", L"C:\\broken.ogg"});
    h.Click(IDC_ADD);
    EXPECT_EQ(2u, h.boxes.Count());
    EXPECT_TRUE(h.Rows().empty());
    EXPECT_EQ(L"0 songs, total time: 00:00:00, time left:<74min disc> 01:14:00 "
              L"<80min disc> 01:20:00",
              h.Text(IDC_TOTALS));
}

TEST_F(TrackList, CancellingTheOpenDialogChangesNothing) {
    h.files.QueueCancel();
    h.Click(IDC_ADD);
    EXPECT_EQ(1, h.files.Calls());
    EXPECT_TRUE(h.Rows().empty());
    EXPECT_EQ(kStartupTotals, h.Text(IDC_TOTALS));
    EXPECT_TRUE(h.engine.CallsNamed("GetPlayTime").empty());
    EXPECT_EQ(0u, h.boxes.Count());

    // Nor with rows in the list.
    AppendRows(2);
    h.files.QueueCancel();
    h.Click(IDC_ADD);
    EXPECT_EQ(2u, h.Rows().size());
    EXPECT_EQ(kStartupTotals, h.Text(IDC_TOTALS));
}

TEST_F(TrackList, DeleteRemovesEverySelectedRowAndRenumbers) {
    AppendRows(5);
    h.SelectRows({1, 3});
    h.Click(IDC_DELETE);
    EXPECT_EQ((Rows{{L"1", L"C:\\t1.wav", L"00:01:00"},
                    {L"2", L"C:\\t3.wav", L"00:03:00"},
                    {L"3", L"C:\\t5.wav", L"00:05:00"}}),
              h.Rows());
    EXPECT_EQ(L"3 songs, total time: 00:09:00, time left:<74min disc> 01:05:00 "
              L"<80min disc> 01:11:00",
              h.Text(IDC_TOTALS));
    EXPECT_EQ(0u, h.boxes.Count());

    // A single selected row goes the same way.
    h.SelectRows({0});
    h.Click(IDC_DELETE);
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2"}), Column(0));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\t3.wav", L"C:\\t5.wav"}), Column(1));

    // Deleting every row shows the full form of an empty list, not the start-up text.
    h.SelectRows({0, 1});
    h.Click(IDC_DELETE);
    EXPECT_TRUE(h.Rows().empty());
    EXPECT_EQ(L"0 songs, total time: 00:00:00, time left:<74min disc> 01:14:00 "
              L"<80min disc> 01:20:00",
              h.Text(IDC_TOTALS));
}

TEST_F(TrackList, DeleteWithNothingSelectedAsksForASelection) {
    AppendRows(3);
    h.SelectRows({});
    h.Click(IDC_DELETE);
    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Please select one or more items.", boxes[0].text);
    EXPECT_EQ(L"Message", boxes[0].caption);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);
    EXPECT_EQ(h.Window(), boxes[0].owner);
    EXPECT_EQ(3u, h.Rows().size());
    EXPECT_EQ(kStartupTotals, h.Text(IDC_TOTALS));
}

TEST_F(TrackList, MoveUpTakesTheFirstSelectedRowAndTheSelectionAlong) {
    AppendRows(5);
    h.SelectRows({2, 3}); // rows 3 and 4
    h.Click(IDC_MOVE_UP);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\t1.wav", L"C:\\t3.wav", L"C:\\t2.wav", L"C:\\t4.wav",
                                         L"C:\\t5.wav"}),
              Column(1));
    EXPECT_EQ((std::vector<int>{1, 3}), h.SelectedRows());
    EXPECT_EQ(1, h.FocusedRow());

    h.Click(IDC_MOVE_UP);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\t3.wav", L"C:\\t1.wav", L"C:\\t2.wav", L"C:\\t4.wav",
                                         L"C:\\t5.wav"}),
              Column(1));
    EXPECT_EQ((std::vector<std::wstring>{L"00:03:00", L"00:01:00", L"00:02:00", L"00:04:00",
                                         L"00:05:00"}),
              Column(2));
    EXPECT_EQ((std::vector<int>{0, 3}), h.SelectedRows());
    EXPECT_EQ(0, h.FocusedRow());

    // The first selected row is now the top one: nothing moves.
    Rows before = h.Rows();
    h.Click(IDC_MOVE_UP);
    EXPECT_EQ(before, h.Rows());
    EXPECT_EQ((std::vector<int>{0, 3}), h.SelectedRows());
    EXPECT_EQ(0, h.FocusedRow());

    // Positions stay numbered, and moves do not re-total.
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"3", L"4", L"5"}), Column(0));
    EXPECT_EQ(kStartupTotals, h.Text(IDC_TOTALS));
    EXPECT_EQ(0u, h.boxes.Count());
}

TEST_F(TrackList, MoveDownTakesTheFirstSelectedRowOnly) {
    AppendRows(5);
    h.SelectRows({2, 3});
    h.Click(IDC_MOVE_DOWN);
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\t1.wav", L"C:\\t2.wav", L"C:\\t4.wav", L"C:\\t3.wav",
                                         L"C:\\t5.wav"}),
              Column(1));
    EXPECT_EQ(std::vector<int>{3}, h.SelectedRows());
    EXPECT_EQ(3, h.FocusedRow());

    h.Click(IDC_MOVE_DOWN);
    EXPECT_EQ(L"C:\\t3.wav", h.Rows()[4][1]);
    EXPECT_EQ(std::vector<int>{4}, h.SelectedRows());
    EXPECT_EQ(4, h.FocusedRow());

    // At the bottom, nothing changes, the selection included.
    Rows before = h.Rows();
    h.Click(IDC_MOVE_DOWN);
    EXPECT_EQ(before, h.Rows());
    EXPECT_EQ(std::vector<int>{4}, h.SelectedRows());
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"3", L"4", L"5"}), Column(0));

    // With nothing selected neither move does anything, and says nothing.
    h.SelectRows({});
    h.Click(IDC_MOVE_UP);
    h.Click(IDC_MOVE_DOWN);
    EXPECT_EQ(before, h.Rows());
    EXPECT_EQ(0u, h.boxes.Count());
}

} // namespace
