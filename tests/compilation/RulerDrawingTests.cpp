// The dialog's capacity ruler painted into a memory bitmap at its own size,
// its pixels checked where the scale puts them.
#include "controls/CSizeRange.h"
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kBlue = RGB(35, 126, 216);
const COLORREF kAmber = RGB(247, 200, 10);
const COLORREF kRed = RGB(218, 17, 5);
const COLORREF kShadow = RGB(50, 50, 50);
const COLORREF kInk = RGB(0, 0, 0);
const COLORREF kUntouched = RGB(255, 0, 255);

// A memory bitmap filled with kUntouched, wider than the ruler so that
// whatever would stand at the scale's end shows.
struct Canvas {
    Canvas(int width, int height) : width(width), height(height) {
        RECT all{0, 0, width, height};
        FillRect(dc.Get(), &all, UniqueBrush(CreateSolidBrush(kUntouched)).Get());
    }
    COLORREF At(int x, int y) const { return GetPixel(dc.Get(), x, y); }
    // Columns in [left, right) of the rows [top, bottom) showing `colour`.
    std::vector<int> Columns(COLORREF colour, int left, int top, int right, int bottom) const {
        std::vector<int> columns;
        for (int x = left; x < right; ++x) {
            int y = top;
            while (y < bottom && At(x, y) != colour)
                ++y;
            if (y < bottom) columns.push_back(x);
        }
        return columns;
    }

    int width;
    int height;
    UniqueMemoryDc dc{CreateCompatibleDC(nullptr)};
    UniqueBitmap bitmap{CreateBitmap(width, height, 1, 32, nullptr)};
    SelectGuard selected{dc.Get(), bitmap.Get()};
};

class RulerDrawing : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(h.Start());
        RECT rect{};
        GetWindowRect(h.Item(IDC_RULER), &rect);
        w = rect.right - rect.left;
        ht = rect.bottom - rect.top;
    }
    // One track of `minutes` in the list, added as a user adds it.
    void ShowTotal(int minutes) {
        h.tracks.DeleteAllItems();
        h.engine.playTimes[L"C:\\long.wav"] = minutes * 60;
        h.selections.push_back({L"C:\\long.wav"});
        h.Click(IDC_ADD);
    }
    std::unique_ptr<Canvas> Paint() {
        auto canvas = std::make_unique<Canvas>(w + 40, ht);
        SendMessageW(h.Item(IDC_RULER), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc.Get()),
                     PRF_CLIENT);
        return canvas;
    }
    CSizeRange& Ruler() { return dynamic_cast<CSizeRange&>(*CWnd::FromHandle(h.Item(IDC_RULER))); }
    int X(int minutes) const { return minutes * w / 90; }
    int BarTop() const { return static_cast<int>(ht * 0.1); }
    int BarBottom() const { return BarTop() + static_cast<int>(ht * 0.3); }

    DialogHarness h;
    int w = 0;
    int ht = 0;
};

TEST_F(RulerDrawing, EighteenMinorTicksAndNineLabelsButNoneAtTheMaximum) {
    Ruler().ClearLines(); // the marker at 80 would hide its tick
    auto canvas = Paint();
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas->At(w / 2 + 3, ht - 1));
    EXPECT_EQ(kUntouched, canvas->At(w, ht / 2));

    // Minor ticks end at a fifth of the height, the labelled ones reach on.
    std::vector<int> minor = canvas->Columns(kInk, 0, 0, w + 40, 1);
    ASSERT_EQ(18u, minor.size());
    for (int i = 0; i < 18; ++i)
        EXPECT_NEAR(i * w / 18, minor[i], 1) << i;
    EXPECT_EQ(kInk, canvas->At(minor[1], ht / 5 - 1));
    EXPECT_NE(kInk, canvas->At(minor[1], ht / 5));
    std::vector<int> major = canvas->Columns(kInk, 0, ht / 5, w + 40, ht / 5 + 1);
    ASSERT_EQ(9u, major.size());
    for (int j = 0; j < 9; ++j)
        EXPECT_EQ(minor[2 * j], major[j]);

    // Labels under the labelled ticks, none at 90 nor anything past 95 %.
    for (int j = 1; j < 9; ++j)
        EXPECT_FALSE(canvas->Columns(kInk, major[j] - 4, ht * 6 / 10, major[j] + 5, ht).empty());
    EXPECT_TRUE(canvas->Columns(kInk, w * 95 / 100, 0, w + 40, ht).empty());
}

TEST_F(RulerDrawing, AnEmptyListLeavesTheShadowColumnAtOne) {
    auto canvas = Paint();
    const int top = static_cast<int>(ht * 0.1 + 1);
    const int bottom = top + static_cast<int>(ht * 0.3 + 1);
    EXPECT_EQ(std::vector<int>{1}, canvas->Columns(kShadow, 0, 0, w, ht));
    for (int y = 0; y < ht; ++y)
        EXPECT_EQ(y >= top && y < bottom, canvas->At(1, y) == kShadow) << y;
    EXPECT_TRUE(canvas->Columns(kBlue, 0, 0, w, ht).empty());
}

TEST_F(RulerDrawing, BandsTurnAmberAt74AndRedAt80UnderTheMarkersAnd120IsDrawnAs90) {
    ShowTotal(90);
    auto canvas = Paint();
    const int y = (BarTop() + BarBottom()) / 2;
    EXPECT_EQ(kBlue, canvas->At(1, y));
    EXPECT_EQ(kBlue, canvas->At(X(70), y));
    EXPECT_EQ(kAmber, canvas->At(X(77), y));
    EXPECT_EQ(kRed, canvas->At(X(85), y));
    EXPECT_EQ(kShadow, canvas->At(X(40), BarBottom()));
    // The markers stand below the bar, at 74 in amber and at 80 in red.
    for (auto [colour, minutes] : {std::pair{kAmber, 74}, std::pair{kRed, 80}}) {
        std::vector<int> marker = canvas->Columns(colour, 0, BarBottom() + 2, w, ht);
        EXPECT_TRUE(!marker.empty() && marker.front() >= X(minutes) - 2 &&
                    marker.back() <= X(minutes) + 2)
            << minutes;
    }

    // A value beyond the scale is kept, and drawn as the scale's end.
    ShowTotal(120);
    auto beyond = Paint();
    for (COLORREF colour : {kBlue, kAmber, kRed, kShadow, kInk, kUntouched})
        EXPECT_EQ(canvas->Columns(colour, 0, 0, w + 40, ht),
                  beyond->Columns(colour, 0, 0, w + 40, ht));
    EXPECT_EQ(120, Ruler().GetCurrentValue());
}

// Counts the ruler's paints as they happen.
LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR counter) {
    if (message == WM_PAINT) ++*reinterpret_cast<int*>(counter);
    return DefSubclassProc(window, message, wParam, lParam);
}

// Without pumping, only a synchronous redraw can paint.
TEST_F(RulerDrawing, IsRepaintedWithinEveryReTotalAndOnItsTickOnlyWhileIdle) {
    int paints = 0;
    HWND ruler = h.Item(IDC_RULER);
    ASSERT_TRUE(SetWindowSubclass(ruler, CountPaints, 1, reinterpret_cast<DWORD_PTR>(&paints)));
    h.Pump();
    ShowTotal(10);
    EXPECT_EQ(1, paints);
    SendMessageW(h.Window(), WM_TIMER, TIMER_RULER_REFRESH, 0);
    EXPECT_EQ(2, paints);
    h.dialog->Session().SetBurning(true);
    SendMessageW(h.Window(), WM_TIMER, TIMER_RULER_REFRESH, 0);
    EXPECT_EQ(2, paints);
    RemoveWindowSubclass(ruler, CountPaints, 1);
}

} // namespace
