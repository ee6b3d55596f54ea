// The icon button drawn into a memory bitmap: where the icon and caption
// land, the press offset, the classic frames and the disabled look.
#include "controls/CButtonST.h"
#include "tests/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

constexpr COLORREF kIconColour = RGB(255, 0, 0);
constexpr int kWidth = 93;
constexpr int kHeight = 30;

COLORREF Sys(int index) {
    return GetSysColor(index);
}

struct DrawnButton {
    ControlHost host;
    CButtonST button;
    HWND window;

    explicit DrawnButton(const wchar_t* caption, bool flat = false, DWORD type = BS_PUSHBUTTON)
        : window(host.AddButton(7, caption, RECT{10, 10, 10 + kWidth, 10 + kHeight}, type)) {
        button.AttachControl(window);
        button.UseIconHandles(MakeSolidIcon(kIconColour), nullptr);
        button.UseFlatLook(flat, false);
    }

    void Draw(Canvas& canvas, UINT state) {
        button.DrawItem(DrawRequest(window, canvas.Dc(), state));
    }
};

// The caption's pixels: text colour, away from the border and the icon.
RECT CaptionBounds(const Canvas& canvas, COLORREF colour) {
    return canvas.BoundsOf(Is(colour), RECT{3 + 16 + 8, 3, kWidth - 3, kHeight - 3});
}

struct IconPlace {
    const wchar_t* caption;
    int left;
};

class IconPosition : public testing::TestWithParam<IconPlace> {};

TEST_P(IconPosition, FollowsTheMarginOrTheCentre) {
    DrawnButton b(GetParam().caption);
    Canvas canvas(kWidth, kHeight);
    b.Draw(canvas, 0);
    RECT icon = canvas.BoundsOf(Is(kIconColour));
    EXPECT_EQ(GetParam().left, icon.left);
    EXPECT_EQ((kHeight - 16) / 2, icon.top);
    EXPECT_EQ(16, icon.right - icon.left);
    EXPECT_EQ(16, icon.bottom - icon.top);

    // The control's own paint reaches the same drawing through the reflected
    // WM_DRAWITEM.
    Canvas printed(kWidth, kHeight);
    SendMessageW(b.window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.Dc()), PRF_CLIENT);
    RECT printedIcon = printed.BoundsOf(Is(kIconColour));
    EXPECT_EQ(icon.left, printedIcon.left);
    EXPECT_EQ(icon.top, printedIcon.top);
}

INSTANTIATE_TEST_SUITE_P(Captions, IconPosition,
                         testing::Values(IconPlace{L"Add", 3 + 5},
                                         // The Play and Stop buttons: a single space is a caption.
                                         IconPlace{L" ", 3 + 5},
                                         // No caption at all: centred, still 5 pixels right.
                                         IconPlace{L"", (kWidth - 16) / 2 + 5}));

// Where the ink of `text` lands when its measured block is centred in `area`
// (integer halves), found by drawing it alone at the block's place.
RECT ExpectedInk(HFONT font, const wchar_t* text, const RECT& area) {
    Canvas alone(kWidth, kHeight);
    SelectGuard selected(alone.Dc(), font);
    RECT block = area;
    DrawTextW(alone.Dc(), text, -1, &block, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    const int width = block.right - block.left;
    const int height = block.bottom - block.top;
    RECT place{area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0};
    place.right = place.left + width;
    place.bottom = place.top + height;
    SetBkMode(alone.Dc(), TRANSPARENT);
    SetTextColor(alone.Dc(), RGB(0, 0, 0));
    DrawTextW(alone.Dc(), text, -1, &place, DT_WORDBREAK | DT_CENTER);
    return alone.BoundsOf(Is(RGB(0, 0, 0)));
}

void ExpectSameRect(const RECT& expected, const RECT& actual) {
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

TEST(ButtonDrawing, CaptionIsCentredRightOfTheIcon) {
    ASSERT_EQ(RGB(0, 0, 0), Sys(COLOR_BTNTEXT));
    DrawnButton b(L"Add");
    Canvas canvas(kWidth, kHeight);
    b.Draw(canvas, 0);
    // The caption rectangle runs from icon width + margin to the right edge.
    RECT captionArea{16 + 3, 0, kWidth, kHeight};
    ExpectSameRect(ExpectedInk(b.host.Font(), L"Add", captionArea),
                   CaptionBounds(canvas, Sys(COLOR_BTNTEXT)));
}

TEST(ButtonDrawing, PressingMovesIconAndCaptionOnePixelRightAndDown) {
    DrawnButton b(L"Add");
    Canvas up(kWidth, kHeight);
    Canvas down(kWidth, kHeight);
    b.Draw(up, 0);
    b.Draw(down, ODS_SELECTED);

    RECT iconUp = up.BoundsOf(Is(kIconColour));
    RECT iconDown = down.BoundsOf(Is(kIconColour));
    EXPECT_EQ(iconUp.left + 1, iconDown.left);
    EXPECT_EQ(iconUp.top + 1, iconDown.top);

    RECT textUp = CaptionBounds(up, Sys(COLOR_BTNTEXT));
    RECT textDown = CaptionBounds(down, Sys(COLOR_BTNTEXT));
    ASSERT_FALSE(IsEmpty(textUp));
    EXPECT_EQ(textUp.left + 1, textDown.left);
    EXPECT_EQ(textUp.top + 1, textDown.top);
    EXPECT_EQ(textUp.right + 1, textDown.right);

    // Pressed, the classic button has a plain shadow frame.
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), down.At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), down.At(kWidth - 1, kHeight - 1));
}

// Pixels of row `y` between x = 4 and the width - 4 that differ from the face.
int MarksOnRow(const Canvas& canvas, int y) {
    int marks = 0;
    for (int x = 4; x < kWidth - 4; ++x)
        if (canvas.At(x, y) != Sys(COLOR_BTNFACE)) ++marks;
    return marks;
}

TEST(ButtonDrawing, FocusedOrDefaultClassicButtonHasABlackFrameAndItsBorderInside) {
    DrawnButton focused(L"");
    DrawnButton chosen(L"", false, BS_DEFPUSHBUTTON);
    DrawnButton plain(L"");
    Canvas focusedCanvas(kWidth, kHeight), chosenCanvas(kWidth, kHeight),
        plainCanvas(kWidth, kHeight);
    focused.Draw(focusedCanvas, ODS_FOCUS);
    chosen.Draw(chosenCanvas, 0);
    plain.Draw(plainCanvas, 0);

    for (const Canvas* canvas : {&focusedCanvas, &chosenCanvas}) {
        for (int x = 0; x < kWidth; x += 7)
            EXPECT_EQ(RGB(0, 0, 0), canvas->At(x, kHeight - 1));
        for (int y = 0; y < kHeight; y += 5)
            EXPECT_EQ(RGB(0, 0, 0), canvas->At(kWidth - 1, y));
        // The raised border one pixel inside the frame.
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), canvas->At(1, 10));
        EXPECT_EQ(Sys(COLOR_3DDKSHADOW), canvas->At(10, kHeight - 2));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), canvas->At(kWidth - 3, 10));
    }
    // Only the focused one has the dotted focus rectangle, 4 pixels inside.
    EXPECT_EQ(0, MarksOnRow(focusedCanvas, 3));
    EXPECT_GE(MarksOnRow(focusedCanvas, 4), (kWidth - 8) / 3);
    EXPECT_EQ(0, MarksOnRow(chosenCanvas, 4));
    // A plain button's raised border starts at the edge.
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), plainCanvas.At(0, 10));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), plainCanvas.At(kWidth - 1, 10));
}

TEST(ButtonDrawing, DisabledButtonEmbossesItsCaptionAndGreysItsIcon) {
    ASSERT_NE(Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));
    DrawnButton b(L"Add");
    Canvas canvas(kWidth, kHeight);
    b.Draw(canvas, ODS_DISABLED);

    EXPECT_TRUE(IsEmpty(CaptionBounds(canvas, Sys(COLOR_BTNTEXT))));
    RECT shadow = CaptionBounds(canvas, Sys(COLOR_BTNSHADOW));
    RECT light = CaptionBounds(canvas, Sys(COLOR_BTNHIGHLIGHT));
    ASSERT_FALSE(IsEmpty(shadow));
    // The light copy lies one pixel right and down, under the shadow copy.
    EXPECT_EQ(shadow.right + 1, light.right);
    EXPECT_EQ(shadow.bottom + 1, light.bottom);

    // The icon in the platform's disabled style: no colour of its own.
    EXPECT_EQ(0, canvas.Count(Is(kIconColour)));
    EXPECT_FALSE(IsEmpty(canvas.BoundsOf(Is(Sys(COLOR_BTNSHADOW)), RECT{8, 7, 25, 24})));
}

TEST(ButtonDrawing, FlatButtonShowsAThinFrameOnlyWhileTheMouseIsOverIt) {
    DrawnButton b(L"Add", true);
    auto corners = [&](UINT state) {
        Canvas canvas(kWidth, kHeight);
        b.Draw(canvas, state);
        return std::pair{canvas.At(0, 0), canvas.At(kWidth - 1, kHeight - 1)};
    };
    const auto face = std::pair{Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE)};
    const auto raised = std::pair{Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW)};
    EXPECT_EQ(face, corners(0));
    // Dragged in with the button held: no hover.
    SendMessageW(b.window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 10));
    EXPECT_EQ(face, corners(0));

    SendMessageW(b.window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    EXPECT_EQ(raised, corners(0));
    // Pressed: sunken, and no black frame or focus rectangle for a flat one.
    EXPECT_EQ((std::pair{Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT)}),
              corners(ODS_SELECTED | ODS_FOCUS));

    for (UINT ending : {static_cast<UINT>(WM_MOUSELEAVE), static_cast<UINT>(WM_KILLFOCUS)}) {
        SendMessageW(b.window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
        SendMessageW(b.window, ending, 0, 0);
        EXPECT_EQ(face, corners(0)) << ending;
    }
}

} // namespace
