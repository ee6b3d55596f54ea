// Play-time text both ways, and the totals line against the two disc sizes.
#include "compilation/PlayTime.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(PlayTime, FormatsHoursMinutesSecondsWithAtLeastTwoDigitsEach) {
    EXPECT_EQ(L"00:00:00", FormatPlayTime(0));
    EXPECT_EQ(L"00:04:05", FormatPlayTime(245));
    EXPECT_EQ(L"01:02:05", FormatPlayTime(3725));
    EXPECT_EQ(L"99:59:59", FormatPlayTime(359999));
    EXPECT_EQ(L"100:00:00", FormatPlayTime(360000));
    EXPECT_EQ(L"596523:14:07", FormatPlayTime(INT_MAX));
    // Negative times carry the sign in every non-zero field.
    EXPECT_EQ(L"00:00:-1", FormatPlayTime(-1));
    EXPECT_EQ(L"-2:-6:00", FormatPlayTime(-7560));
}

TEST(PlayTime, ReadsEveryFieldBetweenTheColonsInFull) {
    // Hours of three or more digits count in full.
    EXPECT_EQ(360000, ReadPlayTime(L"100:00:00"));
    EXPECT_EQ(1234 * 3600LL + 5 * 60 + 6, ReadPlayTime(L"1234:05:06"));
    EXPECT_EQ(INT_MAX, ReadPlayTime(L"596523:14:07"));
    // A field is read like atoi: leading digits, else nothing.
    EXPECT_EQ(0, ReadPlayTime(L""));
    EXPECT_EQ(0, ReadPlayTime(L"ab:cd:ef"));
    EXPECT_EQ(5 * 3600 + 1 * 60 + 2, ReadPlayTime(L"05x:1y:2z"));
}

TEST(PlayTime, EveryTimeUnderAHundredHoursReadsBackAsWritten) {
    for (int seconds = 0; seconds < 360000; seconds += 7)
        ASSERT_EQ(seconds, ReadPlayTime(FormatPlayTime(seconds))) << seconds;
    for (int seconds : {1, 59, 60, 3599, 3600, 359999, 360000, 7200000, INT_MAX})
        EXPECT_EQ(seconds, ReadPlayTime(FormatPlayTime(seconds))) << seconds;
}

TEST(TotalsLine, ReadsAsTheTableOfDiscSizes) {
    struct Row {
        int songs;
        int total;
        const wchar_t* line;
    };
    const Row table[] = {
        {0, 0,
         L"0 songs, total time: 00:00:00, time left:<74min disc> 01:14:00 <80min disc> 01:20:00"},
        {3, 3725,
         L"3 songs, total time: 01:02:05, time left:<74min disc> 00:11:55 <80min disc> 00:17:55"},
        {20, 4441,
         L"20 songs, total time: 01:14:01, time left:<74min disc> 00:00:-1 <80min disc> 00:05:59"},
        {21, 4505,
         L"21 songs, total time: 01:15:05, time left:<74min disc> 00:-1:-5 <80min disc> 00:04:55"},
        {40, 12000,
         L"40 songs, total time: 03:20:00, time left:<74min disc> -2:-6:00 <80min disc> -2:00:00"},
    };
    for (const Row& row : table)
        EXPECT_EQ(row.line, FormatTotalsLine(row.songs, row.total));
}

TEST(TotalsLine, SaysSongsForOneAndSurvivesTheLargestTotal) {
    EXPECT_EQ(L"1 songs, total time: 00:00:59, time left:<74min disc> 01:13:01 "
              L"<80min disc> 01:19:01",
              FormatTotalsLine(1, 59));
    EXPECT_EQ(L"2 songs, total time: 596523:14:07, time left:<74min disc> -596522:00:-7 "
              L"<80min disc> -596521:-54:-7",
              FormatTotalsLine(2, INT_MAX));
}

} // namespace
