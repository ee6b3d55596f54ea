// The track list's buttons with a scripted engine and a scripted Open dialog:
// what the user sees in the rows, the boxes and the totals line.
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kStartupTotals =
    L"0 songs, total time: 00:00, time left:<74min disc> 74:00 <80min disc> 80:00";
const std::wstring kEmptyTotals =
    L"0 songs, total time: 00:00:00, time left:<74min disc> 01:14:00 <80min disc> 01:20:00";

class TrackList : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(h.Start()); }

    // Rows 1..count, each file named after its row and lasting row minutes.
    void AppendRows(int count) {
        for (int row = 1; row <= count; ++row)
            h.AppendRow(L"C:\\t" + std::to_wstring(row) + L".wav",
                        L"00:0" + std::to_wstring(row) + L":00");
    }
    // The rows as the user sees them: "1 C:\\a.wav 00:04:05 | 2 ...".
    std::wstring Rows() const {
        std::wstring rows;
        for (int row = 0; row < h.tracks.GetItemCount(); ++row)
            rows += (row > 0 ? L" | " : L"") + h.tracks.GetItemText(row, 0) + L" " +
                    h.tracks.GetItemText(row, 1) + L" " + h.tracks.GetItemText(row, 2);
        return rows;
    }
    // One character of each row's cell: Column(1, 4) is "213" for t2, t1, t3;
    // with `marked`, each followed by "s" when selected and "f" when focused.
    std::wstring Column(int column, size_t at, bool marked = false) const {
        std::wstring characters;
        for (int row = 0; row < h.tracks.GetItemCount(); ++row) {
            characters += h.tracks.GetItemText(row, column).at(at);
            if (marked && h.tracks.GetItemState(row, LVIS_SELECTED)) characters += L's';
            if (marked && h.tracks.GetItemState(row, LVIS_FOCUSED)) characters += L'f';
        }
        return characters;
    }

    DialogHarness h;
};

// The Open dialog's result: one file, or a folder followed by names.
TEST(OpenDialogResult, IsSplitIntoFullPaths) {
    const struct {
        std::wstring buffer;
        std::vector<std::wstring> paths;
    } table[] = {
        {std::wstring(L"C:\\Music\\a.wav\0\0junk\0", 21), {L"C:\\Music\\a.wav"}},
        {std::wstring(L"C:\\Music\0b.mp3\0a.wav\0c d.ogg\0\0", 30),
         {L"C:\\Music\\b.mp3", L"C:\\Music\\a.wav", L"C:\\Music\\c d.ogg"}},
        // A drive's root already ends in a backslash.
        {std::wstring(L"C:\\\0a.wav\0b.wma\0\0", 17), {L"C:\\a.wav", L"C:\\b.wma"}},
        {std::wstring(L"\0", 1), {}},
        // A name cut off by the end of the buffer is not taken.
        {L"C:\\Music\\a.w", {}},
        {std::wstring(L"C:\\Music\0a.wav\0b.m", 18), {L"C:\\Music\\a.wav"}},
    };
    for (const auto& row : table)
        EXPECT_EQ(row.paths, SplitOpenDialogResult(row.buffer.data(), row.buffer.size()));
}

// What the Open dialog was last asked for: the request, its filter up to the
// closing double zero, and whether the result buffer started empty.
struct OpenRequest {
    OPENFILENAMEW fields{};
    std::wstring filter;
    bool emptyBuffer = false;
} g_openRequest;
BOOL g_openAnswer = TRUE;

BOOL WINAPI ScriptedOpenDialog(OPENFILENAMEW* request) {
    g_openRequest.fields = *request;
    size_t end = 0;
    while (request->lpstrFilter[end] != L'\0' || request->lpstrFilter[end + 1] != L'\0')
        ++end;
    g_openRequest.filter.assign(request->lpstrFilter, end + 2);
    g_openRequest.emptyBuffer = request->lpstrFile[0] == L'\0';
    const wchar_t chosen[] = L"C:\\Music\0b.mp3\0a.wav\0";
    std::copy(std::begin(chosen), std::end(chosen), request->lpstrFile);
    return g_openAnswer;
}

TEST(OpenDialog, IsAskedForAudioFilesWithItsFilterFlagsAndBuffer) {
    OpenFileChooser chooser(ScriptedOpenDialog);
    const HWND owner = GetDesktopWindow();
    std::vector<std::wstring> paths;
    ASSERT_TRUE(chooser.ChooseAudioFiles(owner, paths));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Music\\b.mp3", L"C:\\Music\\a.wav"}), paths);

    const OPENFILENAMEW& asked = g_openRequest.fields;
    EXPECT_EQ(sizeof(OPENFILENAMEW), asked.lStructSize); // not the Windows 9x size
    EXPECT_EQ(owner, asked.hwndOwner);
    const wchar_t filter[] = L"All Supported (*.wav, *.mp3...)\0*.wav;*.mp3;*.ogg;*.wma\0"
                             L"Wav Files (*.wav)\0*.wav\0MP3 Files (*.mp3)\0*.mp3\0"
                             L"Ogg Files (*.ogg)\0*.ogg\0Wma Files (*.wma)\0*.wma\0\0";
    EXPECT_EQ(std::wstring(filter, std::size(filter) - 1), g_openRequest.filter);
    EXPECT_EQ(1u, asked.nFilterIndex);
    EXPECT_EQ(nullptr, asked.lpstrCustomFilter);
    EXPECT_TRUE(g_openRequest.emptyBuffer);
    EXPECT_EQ(50000u, asked.nMaxFile);
    EXPECT_EQ(static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER |
                                 OFN_ENABLESIZING | OFN_ALLOWMULTISELECT),
              asked.Flags);
    for (const wchar_t* unset : {asked.lpstrDefExt, asked.lpstrInitialDir, asked.lpstrTitle,
                                 static_cast<const wchar_t*>(asked.lpstrFileTitle)})
        EXPECT_EQ(nullptr, unset);

    // Cancelled (or names that did not fit): nothing is chosen.
    g_openAnswer = FALSE;
    EXPECT_FALSE(chooser.ChooseAudioFiles(owner, paths));
    g_openAnswer = TRUE;
}

TEST_F(TrackList, HasThreeLeftAlignedColumnsAndSelectsWholeRows) {
    std::wstring columns;
    for (int index = 0; index < 4; ++index) {
        wchar_t title[32] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = 32;
        if (!SendMessageW(h.Item(IDC_TRACKS), LVM_GETCOLUMNW, index,
                          reinterpret_cast<LPARAM>(&column)))
            break;
        columns += std::wstring(title) + L" " + std::to_wstring(column.cx) +
                   ((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_LEFT ? L" left | " : L" | ");
    }
    EXPECT_EQ(L"# 27 left | Filename 320 left | Playtime 80 left | ", columns);
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_FULLROWSELECT), h.tracks.GetExtendedStyle());
}

TEST_F(TrackList, AddMeasuresEachFileOnceAndLeavesOutTheOneThatFails) {
    h.engine.playTimes = {{L"C:\\a.wav", 245}, {L"C:\\c.wma", 3725}};
    h.selections.push_back({L"C:\\a.wav", L"C:\\b.mp3", L"C:\\c.wma"});
    h.Click(IDC_ADD);

    EXPECT_EQ((std::vector<std::string>{"GetPlayTime(C:\\a.wav,0)", "GetPlayTime(C:\\b.mp3,0)",
                                        "GetPlayTime(C:\\c.wma,0)"}),
              h.engine.CallsNamed("GetPlayTime"));
    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Failed to load:C:\\b.mp3", boxes[0].text);
    EXPECT_EQ(L"Message", boxes[0].caption);
    EXPECT_EQ(std::vector<int>{IDOK}, boxes[0].buttons);
    EXPECT_EQ(h.Window(), boxes[0].owner);
    EXPECT_EQ(L"1 C:\\a.wav 00:04:05 | 2 C:\\c.wma 01:02:05", Rows());
    EXPECT_EQ(L"2 songs, total time: 01:06:10, time left:<74min disc> 00:07:50 "
              L"<80min disc> 00:13:50",
              h.Text(IDC_TOTALS));
}

TEST_F(TrackList, CancellingTheOpenDialogChangesNothing) {
    AppendRows(2);
    h.selections.emplace_back(); // Cancel
    h.Click(IDC_ADD);
    EXPECT_EQ(2, h.tracks.GetItemCount());
    EXPECT_EQ(kStartupTotals, h.Text(IDC_TOTALS));
    EXPECT_TRUE(h.engine.CallsNamed("GetPlayTime").empty());
    EXPECT_EQ(0u, h.boxes.Count());

    // Whereas an Add whose every file fails (under one second) re-totals.
    h.engine.playTimes = {{L"C:\\broken.ogg", -3}};
    h.selections.push_back({L"C:\\empty.wav", L"C:\\broken.ogg"});
    h.Click(IDC_ADD);
    EXPECT_EQ(2u, h.boxes.Count());
    EXPECT_EQ(2, h.tracks.GetItemCount());
    EXPECT_EQ(L"2 songs, total time: 00:03:00, time left:<74min disc> 01:11:00 "
              L"<80min disc> 01:17:00",
              h.Text(IDC_TOTALS));
}

TEST_F(TrackList, DeleteRemovesEverySelectedRowAndRenumbers) {
    h.SelectRows({});
    h.Click(IDC_DELETE);
    ASSERT_EQ(1u, h.boxes.Count());
    EXPECT_EQ(L"Please select one or more items.", h.boxes.Boxes()[0].text);

    AppendRows(5);
    h.SelectRows({1, 3});
    h.Click(IDC_DELETE);
    EXPECT_EQ(L"1 C:\\t1.wav 00:01:00 | 2 C:\\t3.wav 00:03:00 | 3 C:\\t5.wav 00:05:00", Rows());
    EXPECT_EQ(L"3 songs, total time: 00:09:00, time left:<74min disc> 01:05:00 "
              L"<80min disc> 01:11:00",
              h.Text(IDC_TOTALS));

    // Deleting every row shows the full form of an empty list, not the start-up text.
    h.SelectRows({0, 1, 2});
    h.Click(IDC_DELETE);
    EXPECT_EQ(L"", Rows());
    EXPECT_EQ(kEmptyTotals, h.Text(IDC_TOTALS));
    EXPECT_EQ(1u, h.boxes.Count());
}

// Each press moves the first selected row; the selection and focus follow it.
TEST_F(TrackList, MoveUpAndMoveDownTakeTheFirstSelectedRowAndTheSelectionAlong) {
    AppendRows(5);
    const struct {
        std::vector<int> select; // before the press, when not empty
        int button;
        const wchar_t* order; // "3sf": the file of row 3, selected and focused
    } steps[] = {
        {{2, 3}, IDC_MOVE_UP, L"13sf24s5"},  {{}, IDC_MOVE_UP, L"3sf124s5"},
        {{}, IDC_MOVE_UP, L"3sf124s5"}, // at the top already
        {{2, 3}, IDC_MOVE_DOWN, L"3142sf5"}, {{}, IDC_MOVE_DOWN, L"31452sf"},
        {{}, IDC_MOVE_DOWN, L"31452sf"}, // at the bottom already
    };
    for (const auto& step : steps) {
        if (!step.select.empty()) h.SelectRows(step.select);
        h.Click(step.button);
        EXPECT_EQ(step.order, Column(1, 4, true));
    }
    // Play times travel with their files; positions stay numbered; no re-total.
    EXPECT_EQ(L"31452", Column(2, 4));
    EXPECT_EQ(L"12345", Column(0, 0));
    EXPECT_EQ(kStartupTotals, h.Text(IDC_TOTALS));

    // With nothing selected neither move does anything, and says nothing.
    h.SelectRows({});
    h.Click(IDC_MOVE_UP);
    h.Click(IDC_MOVE_DOWN);
    EXPECT_EQ(L"31452", Column(1, 4));
    EXPECT_EQ(0u, h.boxes.Count());
}

} // namespace
