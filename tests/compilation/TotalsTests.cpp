// The totals line and the ruler's value as Add and Delete leave them, with
// the engine's play times scripted.
#include "controls/CSizeRange.h"
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct Total {
    std::vector<int> seconds; // one file each
    const wchar_t* total;
    const wchar_t* left74;
    const wchar_t* left80;
    int rulerValue;
};

class Totals : public testing::TestWithParam<Total> {};

TEST_P(Totals, ReadAsTheTableOfDiscSizes) {
    const Total& row = GetParam();
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    std::vector<std::wstring> paths;
    for (int seconds : row.seconds) {
        paths.push_back(L"C:\\track" + std::to_wstring(paths.size()) + L".mp3");
        h.engine.playTimes[paths.back()] = seconds;
    }
    h.selections.push_back(paths);
    h.Click(IDC_ADD);
    EXPECT_EQ(std::to_wstring(row.seconds.size()) + L" songs, total time: " + row.total +
                  L", time left:<74min disc> " + row.left74 + L" <80min disc> " + row.left80,
              h.Text(IDC_TOTALS));
    // Stored as it is; the drawing holds it at the scale's end.
    auto& ruler = dynamic_cast<CSizeRange&>(*CWnd::FromHandle(h.Item(IDC_RULER)));
    EXPECT_EQ(row.rulerValue, ruler.GetCurrentValue());
}

std::vector<int> Songs(int count, int totalSeconds) {
    std::vector<int> seconds(static_cast<size_t>(count), totalSeconds / count);
    seconds.back() += totalSeconds % count;
    return seconds;
}

INSTANTIATE_TEST_SUITE_P(
    RowByRow, Totals,
    testing::Values(
        Total{{59}, L"00:00:59", L"01:13:01", L"01:19:01", 0},
        Total{Songs(3, 3725), L"01:02:05", L"00:11:55", L"00:17:55", 62},
        Total{{4000, 440}, L"01:14:00", L"00:00:00", L"00:06:00", 74},
        Total{Songs(20, 4441), L"01:14:01", L"00:00:-1", L"00:05:59", 74},
        Total{Songs(21, 4505), L"01:15:05", L"00:-1:-5", L"00:04:55", 75},
        Total{{50 * 60, 45 * 60}, L"01:35:00", L"00:-21:00", L"00:-15:00", 95},
        Total{Songs(40, 12000), L"03:20:00", L"-2:-6:00", L"-2:00:00", 200},
        // A row's hours are read in full, however many digits they have.
        Total{{360005, 60}, L"100:01:05", L"-98:-47:-5", L"-98:-41:-5", 6001},
        // Huge tracks saturate instead of wrapping around.
        Total{{INT_MAX, 9}, L"596523:14:07", L"-596522:00:-7", L"-596521:-54:-7", INT_MAX / 60}));

} // namespace
