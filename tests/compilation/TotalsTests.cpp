// The totals line and the ruler's value after Add and Delete, with the
// engine's play times scripted.
#include "controls/CSizeRange.h"
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

namespace {

class Totals : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(h.Start()); }

    // Adds one file per play time through the Add button.
    void Add(const std::vector<int>& seconds) {
        std::vector<std::wstring> paths;
        for (int s : seconds) {
            paths.push_back(L"C:\\track" + std::to_wstring(m_next++) + L".mp3");
            h.engine.playTimes[paths.back()] = s;
        }
        h.files.QueueSelection(paths);
        h.Click(IDC_ADD);
    }
    // The value the ruler was fed, -1 without a ruler.
    int RulerValue() const {
        auto* ruler = dynamic_cast<CSizeRange*>(CWnd::FromHandle(h.Item(IDC_RULER)));
        return ruler != nullptr ? ruler->GetCurrentValue() : -1;
    }

    DialogHarness h;
    int m_next = 1;
};

TEST_F(Totals, FiftyNineSecondsAreNoWholeMinute) {
    Add({59});
    EXPECT_EQ(L"1 songs, total time: 00:00:59, time left:<74min disc> 01:13:01 "
              L"<80min disc> 01:19:01",
              h.Text(IDC_TOTALS));
    EXPECT_EQ(0, RulerValue());
}

TEST_F(Totals, ExactlyAFullSeventyFourMinuteDiscAndOneSecondMore) {
    Add({4000, 440});
    EXPECT_EQ(L"2 songs, total time: 01:14:00, time left:<74min disc> 00:00:00 "
              L"<80min disc> 00:06:00",
              h.Text(IDC_TOTALS));
    EXPECT_EQ(74, RulerValue());

    Add({1});
    EXPECT_EQ(L"3 songs, total time: 01:14:01, time left:<74min disc> 00:00:-1 "
              L"<80min disc> 00:05:59",
              h.Text(IDC_TOTALS));
    EXPECT_EQ(74, RulerValue());
}

TEST_F(Totals, NinetyFiveMinutesOverrunBothDiscs) {
    Add({50 * 60, 45 * 60});
    EXPECT_EQ(L"2 songs, total time: 01:35:00, time left:<74min disc> 00:-21:00 "
              L"<80min disc> 00:-15:00",
              h.Text(IDC_TOTALS));
    // Stored as it is; the drawing holds it at the scale's end.
    EXPECT_EQ(95, RulerValue());

    // Delete follows: the first track gone leaves 45 minutes.
    h.SelectRows({0});
    h.Click(IDC_DELETE);
    EXPECT_EQ(L"1 songs, total time: 00:45:00, time left:<74min disc> 00:29:00 "
              L"<80min disc> 00:35:00",
              h.Text(IDC_TOTALS));
    EXPECT_EQ(45, RulerValue());
}

TEST_F(Totals, AHundredHourTrackCountsInFull) {
    Add({100 * 3600 + 5, 60});
    ASSERT_EQ(2u, h.Rows().size());
    EXPECT_EQ(L"100:00:05", h.Rows()[0][2]);
    EXPECT_EQ(L"2 songs, total time: 100:01:05, time left:<74min disc> -98:-47:-5 "
              L"<80min disc> -98:-41:-5",
              h.Text(IDC_TOTALS));
    EXPECT_EQ(6001, RulerValue());
}

TEST_F(Totals, HugeTracksSaturateInsteadOfWrappingAround) {
    Add({2000000000, 2000000000});
    EXPECT_EQ(L"2 songs, total time: 596523:14:07, time left:<74min disc> -596522:00:-7 "
              L"<80min disc> -596521:-54:-7",
              h.Text(IDC_TOTALS));
}

// Counts the ruler's paints as they happen.
LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR counter) {
    if (message == WM_PAINT) ++*reinterpret_cast<int*>(counter);
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(Totals, TheRulerIsRepaintedWithinEveryReTotal) {
    int paints = 0;
    HWND ruler = h.Item(IDC_RULER);
    ASSERT_TRUE(SetWindowSubclass(ruler, CountPaints, 1, reinterpret_cast<DWORD_PTR>(&paints)));
    h.Pump();

    // Called directly, without pumping: only a synchronous redraw can paint.
    paints = 0;
    h.dialog->UpdateTotals();
    EXPECT_EQ(1, paints);

    paints = 0;
    h.files.QueueCancel();
    h.Click(IDC_ADD);
    EXPECT_EQ(0, paints);
    RemoveWindowSubclass(ruler, CountPaints, 1);
}

} // namespace
