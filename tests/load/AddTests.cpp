// 2,000 files added at once, measured by the real engine: the list fills, the
// totals are right, and the dialog still closes after (bench/load times it).
#include "bench/load/ManyFiles.h"
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

namespace {

TEST(Adding, TwoThousandFilesFillTheListWithTheirTotalsAndTheDialogClosesAfter) {
    EngineLibrary engine;
    ASSERT_TRUE(engine.Load(ProgramFolder() + kEngineFileName));
    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"QUILLOTUNE_LOAD_FILES", folder, MAX_PATH);
    std::vector<std::wstring> files = ManyFiles(folder, 2000);
    DialogHarness h;
    h.engine.api = engine.Api();
    h.selections.push_back(files);
    ASSERT_TRUE(h.Start());

    h.Click(IDC_ADD);
    ASSERT_EQ(2000, h.tracks.GetItemCount());
    EXPECT_EQ(0u, h.boxes.Count()); // no "Failed to load:"
    for (int row : {0, 1, 1998, 1999}) {
        EXPECT_EQ(std::to_wstring(row + 1), h.tracks.GetItemText(row, 0));
        EXPECT_EQ(files[row], h.tracks.GetItemText(row, 1));
        EXPECT_EQ(row % 2 ? L"00:00:02" : L"00:00:01", h.tracks.GetItemText(row, 2));
    }
    EXPECT_EQ(L"2000 songs, total time: 00:50:00, time left:<74min disc> 00:24:00 "
              L"<80min disc> 00:30:00",
              h.Text(IDC_TOTALS));

    SendMessageW(h.Window(), WM_CLOSE, 0, 0);
    h.Pump();
    EXPECT_TRUE(h.dialog->HasEnded());
}

} // namespace
