// The capacity ruler painted into memory bitmaps at the size it has in the
// dialog, its pixels checked where the scale puts them.
#include "controls/CSizeRange.h"
#include "tests/compilation/RulerCanvas.h"
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

const COLORREF kBlue = RGB(35, 126, 216);
const COLORREF kAmber = RGB(247, 200, 10);
const COLORREF kRed = RGB(218, 17, 5);
const COLORREF kShadow = RGB(50, 50, 50);
const COLORREF kInk = RGB(0, 0, 0);
const COLORREF kUntouched = RGB(255, 0, 255);

// Columns of row `y` in [from, to) that show `colour`.
std::vector<int> ColumnsOf(const RulerCanvas& canvas, int y, COLORREF colour, int from, int to) {
    std::vector<int> columns;
    for (int x = from; x < to; ++x)
        if (canvas.Pixel(x, y) == colour) columns.push_back(x);
    return columns;
}

bool AnyInArea(const RulerCanvas& canvas, COLORREF colour, int left, int top, int right,
               int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (canvas.Pixel(x, y) == colour) return true;
    return false;
}

// Runs of inked columns in the rows [top, bottom), runs closer than `gap`
// counted as one: the labels as the eye separates them. Returns their centres.
std::vector<int> InkClusters(const RulerCanvas& canvas, int top, int bottom, int gap) {
    std::vector<int> centres;
    int first = -1, last = -1;
    for (int x = 0; x < canvas.Width(); ++x) {
        if (!AnyInArea(canvas, kInk, x, top, x + 1, bottom)) continue;
        if (first >= 0 && x - last > gap) {
            centres.push_back((first + last) / 2);
            first = -1;
        }
        if (first < 0) first = x;
        last = x;
    }
    if (first >= 0) centres.push_back((first + last) / 2);
    return centres;
}

// The size the ruler has in the running dialog.
SIZE DialogRulerSize() {
    DialogHarness h;
    EXPECT_TRUE(h.Start());
    return WindowSize(h.Item(IDC_RULER));
}

void ConfigureScale(CSizeRange& ruler) {
    ruler.SetMaxValue(90);
    ruler.SetMinorTickStep(5);
    ruler.SetLabelStep(10);
    ruler.SetUnitText("Min");
}

TEST(RulerDrawing, EighteenMinorTicksAndNineLabelsButNoneAtTheMaximum) {
    const SIZE size = DialogRulerSize();
    const int w = size.cx, h = size.cy;
    ASSERT_GT(w, 200);
    ASSERT_GT(h, 15);
    CSizeRange ruler;
    ConfigureScale(ruler);
    // Room to the right of the window shows whatever would stand at 90.
    RulerCanvas canvas(w + 40, h);
    ruler.PaintContent(canvas.Dc(), RECT{0, 0, w, h});

    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas.Pixel(w / 2 + 3, h - 1));
    EXPECT_EQ(kUntouched, canvas.Pixel(w, h / 2));

    std::vector<int> minor = ColumnsOf(canvas, 0, kInk, 0, canvas.Width());
    ASSERT_EQ(18u, minor.size());
    for (int i = 0; i < 18; ++i)
        EXPECT_NEAR(i * w / 18, minor[static_cast<size_t>(i)], 1) << i;
    // A minor tick ends at a fifth of the height; the labelled ones reach on.
    const int belowMinor = h / 5;
    EXPECT_EQ(kInk, canvas.Pixel(minor[1], belowMinor - 1));
    EXPECT_NE(kInk, canvas.Pixel(minor[1], belowMinor));
    std::vector<int> major = ColumnsOf(canvas, belowMinor, kInk, 0, canvas.Width());
    ASSERT_EQ(9u, major.size());
    for (int j = 0; j < 9; ++j)
        EXPECT_EQ(minor[static_cast<size_t>(2 * j)], major[static_cast<size_t>(j)]);
    EXPECT_NE(kInk, canvas.Pixel(major[1], h / 2));

    // Nine labels under their ticks (the first cut by the left edge), none at 90.
    const int textTop = h * 6 / 10;
    std::vector<int> labels = InkClusters(canvas, textTop, h, 6);
    ASSERT_EQ(9u, labels.size());
    for (int j = 1; j < 9; ++j)
        EXPECT_NEAR(major[static_cast<size_t>(j)], labels[static_cast<size_t>(j)], 4) << j;
    EXPECT_FALSE(AnyInArea(canvas, kInk, w * 95 / 100, 0, canvas.Width(), h));
}

TEST(RulerDrawing, AnEmptyListLeavesTheShadowColumnAtOne) {
    DialogHarness dialog;
    ASSERT_TRUE(dialog.Start());
    HWND window = dialog.Item(IDC_RULER);
    const SIZE size = WindowSize(window);
    RulerCanvas canvas(size.cx, size.cy);
    canvas.PrintClientOf(window);

    const int top = static_cast<int>(size.cy * 0.1 + 1);
    const int height = static_cast<int>(size.cy * 0.3 + 1);
    for (int y = top; y < top + height; ++y) {
        EXPECT_EQ(kShadow, canvas.Pixel(1, y)) << y;
        EXPECT_NE(kShadow, canvas.Pixel(2, y)) << y;
        EXPECT_NE(kBlue, canvas.Pixel(0, y)) << y;
    }
    EXPECT_NE(kShadow, canvas.Pixel(1, top - 1));
    EXPECT_NE(kShadow, canvas.Pixel(1, top + height));
}

class DialogRuler : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(h.Start());
        m_window = h.Item(IDC_RULER);
        m_size = WindowSize(m_window);
    }
    // One track of `minutes`, totalled as Add and Delete do.
    void ShowTotal(int minutes) {
        h.SelectRows({});
        while (!h.Rows().empty()) {
            h.SelectRows({0});
            h.Click(IDC_DELETE);
        }
        h.AppendRow(L"C:\\long.wav", L"00:00:00");
        h.engine.playTimes[L"C:\\long.wav"] = minutes * 60;
        h.files.QueueSelection({L"C:\\long.wav"});
        h.SelectRows({0});
        h.Click(IDC_DELETE);
        h.Click(IDC_ADD);
    }
    int X(int minutes) const { return minutes * m_size.cx / 90; }
    int BandMiddle() const {
        return static_cast<int>(m_size.cy * 0.1) + static_cast<int>(m_size.cy * 0.3) / 2;
    }

    DialogHarness h;
    HWND m_window = nullptr;
    SIZE m_size{};
};

TEST_F(DialogRuler, BandsTurnAmberAt74AndRedAt80UnderTheMarkers) {
    ShowTotal(90);
    RulerCanvas canvas(m_size.cx, m_size.cy);
    canvas.PrintClientOf(m_window);

    const int y = BandMiddle();
    EXPECT_EQ(kBlue, canvas.Pixel(X(70), y));
    EXPECT_EQ(kAmber, canvas.Pixel(X(77), y));
    EXPECT_EQ(kRed, canvas.Pixel(X(85), y));
    EXPECT_EQ(kRed, canvas.Pixel(X(89), y));
    EXPECT_EQ(kBlue, canvas.Pixel(1, y));
    // The shadow shows under the bar.
    const int barBottom = static_cast<int>(m_size.cy * 0.1) + static_cast<int>(m_size.cy * 0.3);
    EXPECT_EQ(kShadow, canvas.Pixel(X(40), barBottom));

    // The markers stand below the bar, at 74 in amber and at 80 in red.
    const int below = barBottom + 2;
    EXPECT_TRUE(AnyInArea(canvas, kAmber, X(74) - 2, below, X(74) + 3, m_size.cy));
    EXPECT_TRUE(AnyInArea(canvas, kRed, X(80) - 2, below, X(80) + 3, m_size.cy));
    EXPECT_FALSE(AnyInArea(canvas, kAmber, 0, below, X(74) - 2, m_size.cy));
    EXPECT_FALSE(AnyInArea(canvas, kRed, X(80) + 3, below, m_size.cx, m_size.cy));
}

TEST_F(DialogRuler, AValueBeyondTheScaleIsDrawnAsItsEnd) {
    ShowTotal(90);
    RulerCanvas full(m_size.cx, m_size.cy);
    full.PrintClientOf(m_window);
    ShowTotal(120);
    RulerCanvas beyond(m_size.cx, m_size.cy);
    beyond.PrintClientOf(m_window);
    EXPECT_EQ(full.Pixels(), beyond.Pixels());
    // The value itself is kept.
    auto* ruler = dynamic_cast<CSizeRange*>(CWnd::FromHandle(m_window));
    ASSERT_NE(nullptr, ruler);
    EXPECT_EQ(120, ruler->GetCurrentValue());

    // At exactly 74 the amber band has no width yet: only its marker shows.
    ShowTotal(74);
    RulerCanvas at74(m_size.cx, m_size.cy);
    at74.PrintClientOf(m_window);
    EXPECT_EQ(kBlue, at74.Pixel(X(74) - 2, BandMiddle()));
    EXPECT_FALSE(AnyInArea(at74, kAmber, X(74) + 2, 0, m_size.cx, m_size.cy));
    EXPECT_FALSE(AnyInArea(at74, kBlue, X(74) + 2, 0, m_size.cx, m_size.cy));
}

TEST(RulerDrawing, ADegenerateScaleDrawsWhatItCanAndNeverDividesByZero) {
    const int w = 300, h = 28;
    CSizeRange ruler;
    ruler.SetUnitText("Min");
    ruler.AddLine(40, kRed, true);
    ruler.AddColorChange(0, kBlue);
    ruler.SetCurrentValue(50);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);

    // No span: only the face.
    for (int maximum : {0, -90}) {
        ruler.SetMaxValue(maximum);
        ruler.SetMinorTickStep(5);
        ruler.SetLabelStep(10);
        RulerCanvas canvas(w, h);
        ruler.PaintContent(canvas.Dc(), RECT{0, 0, w, h});
        EXPECT_FALSE(AnyInArea(canvas, kUntouched, 0, 0, w, h)) << maximum;
        EXPECT_FALSE(AnyInArea(canvas, kInk, 0, 0, w, h)) << maximum;
        EXPECT_EQ(face, canvas.Pixel(w / 2, h / 2)) << maximum;
    }

    // No steps: no ticks and no labels, but the marker and the bar.
    ruler.SetMaxValue(100);
    ruler.SetMinorTickStep(0);
    ruler.SetLabelStep(-10);
    RulerCanvas noSteps(w, h);
    ruler.PaintContent(noSteps.Dc(), RECT{0, 0, w, h});
    EXPECT_FALSE(AnyInArea(noSteps, kInk, 0, 0, w, h));
    EXPECT_EQ(kBlue, noSteps.Pixel(100, h / 4));
    EXPECT_TRUE(AnyInArea(noSteps, kRed, 118, h - 3, 123, h));

    // Ticks finer than a pixel fill the columns; labels that fine are left out.
    ruler.SetMaxValue(INT_MAX);
    ruler.SetMinorTickStep(1);
    ruler.SetLabelStep(1);
    ruler.ClearColorChanges();
    ruler.ClearLines();
    RulerCanvas fine(w, h);
    ruler.PaintContent(fine.Dc(), RECT{0, 0, w, h});
    EXPECT_EQ(static_cast<size_t>(w), ColumnsOf(fine, 0, kInk, 0, w).size());
    EXPECT_FALSE(AnyInArea(fine, kInk, 0, h / 2, w, h));
}

TEST(RulerDrawing, GivesTheDeviceContextBackAsItFoundIt) {
    const int w = 400, h = 30;
    CSizeRange ruler;
    ConfigureScale(ruler);
    ruler.AddLine(74, kAmber, false);
    ruler.AddColorChange(0, kBlue);
    ruler.SetCurrentValue(80);

    RulerCanvas canvas(w, h);
    HDC dc = canvas.Dc();
    UniquePen pen(CreatePen(PS_SOLID, 3, RGB(1, 2, 3)));
    UniqueFont font(CreateFontW(20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, L"Courier New"));
    SelectGuard penSelected(dc, pen.Get());
    SelectGuard fontSelected(dc, font.Get());
    SetTextColor(dc, RGB(9, 8, 7));
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
    HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);

    for (int paint = 0; paint < 3; ++paint)
        ruler.PaintContent(dc, RECT{0, 0, w, h});

    EXPECT_EQ(pen.Get(), GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(font.Get(), GetCurrentObject(dc, OBJ_FONT));
    EXPECT_EQ(brush, GetCurrentObject(dc, OBJ_BRUSH));
    EXPECT_EQ(RGB(9, 8, 7), GetTextColor(dc));
    EXPECT_EQ(OPAQUE, GetBkMode(dc));
    EXPECT_EQ(static_cast<UINT>(TA_RIGHT | TA_BOTTOM), GetTextAlign(dc));
    // Drawn in its own ink nonetheless.
    EXPECT_EQ(kInk, canvas.Pixel(0, 0));
}

} // namespace
