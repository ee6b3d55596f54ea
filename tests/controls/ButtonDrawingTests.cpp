// The icon button drawn into a memory bitmap: where the icon and caption
// land, the press offset, the classic frames and the disabled look.
#include "controls/CButtonST.h"
#include "tests/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

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

TEST(ButtonDrawing, FocusedClassicButtonHasABlackFrameItsBorderInsideAndAFocusRectangle) {
    DrawnButton b(L"");
    b.button.UseIconHandles(nullptr, nullptr);
    Canvas canvas(kWidth, kHeight);
    b.Draw(canvas, ODS_FOCUS);

    for (int x = 0; x < kWidth; ++x) {
        EXPECT_EQ(RGB(0, 0, 0), canvas.At(x, 0)) << x;
        EXPECT_EQ(RGB(0, 0, 0), canvas.At(x, kHeight - 1)) << x;
    }
    for (int y = 0; y < kHeight; ++y) {
        EXPECT_EQ(RGB(0, 0, 0), canvas.At(0, y)) << y;
        EXPECT_EQ(RGB(0, 0, 0), canvas.At(kWidth - 1, y)) << y;
    }
    // The raised border one pixel inside the frame.
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), canvas.At(1, 10));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), canvas.At(10, 1));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), canvas.At(kWidth - 2, 10));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), canvas.At(10, kHeight - 2));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), canvas.At(kWidth - 3, 10));
    // The dotted focus rectangle 4 pixels inside the outer edge, nothing at 3.
    EXPECT_EQ(0, MarksOnRow(canvas, 3));
    EXPECT_GE(MarksOnRow(canvas, 4), (kWidth - 8) / 3);
    EXPECT_GE(MarksOnRow(canvas, kHeight - 5), (kWidth - 8) / 3);
}

TEST(ButtonDrawing, DefaultButtonHasTheBlackFrameButNoFocusRectangle) {
    DrawnButton b(L"", false, BS_DEFPUSHBUTTON);
    b.button.UseIconHandles(nullptr, nullptr);
    Canvas canvas(kWidth, kHeight);
    b.Draw(canvas, 0);
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(0, 10));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(kWidth - 1, 10));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), canvas.At(1, 10));
    EXPECT_EQ(0, MarksOnRow(canvas, 4));

    // A plain button: the raised border starts at the edge.
    DrawnButton plain(L"");
    plain.button.UseIconHandles(nullptr, nullptr);
    Canvas plainCanvas(kWidth, kHeight);
    plain.Draw(plainCanvas, 0);
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
    ASSERT_FALSE(IsEmpty(light));
    // The light copy lies one pixel right and down, under the shadow copy.
    EXPECT_EQ(shadow.right + 1, light.right);
    EXPECT_EQ(shadow.bottom + 1, light.bottom);

    // The icon is drawn in the platform's disabled style: no colour of its own.
    EXPECT_EQ(0, canvas.Count(Is(kIconColour)));
    RECT iconArea{8, 7, 8 + 17, 7 + 17};
    EXPECT_FALSE(IsEmpty(canvas.BoundsOf(Is(Sys(COLOR_BTNSHADOW)), iconArea)));
}

TEST(ButtonDrawing, SecondIconShowsUnlessPressed) {
    constexpr COLORREF kSecond = RGB(0, 0, 255);
    DrawnButton b(L"Add");
    b.button.UseIconHandles(MakeSolidIcon(kIconColour), MakeSolidIcon(kSecond));
    Canvas normal(kWidth, kHeight);
    Canvas pressed(kWidth, kHeight);
    b.Draw(normal, 0);
    b.Draw(pressed, ODS_SELECTED);
    EXPECT_EQ(0, normal.Count(Is(kIconColour)));
    EXPECT_EQ(16 * 16, normal.Count(Is(kSecond)));
    EXPECT_EQ(16 * 16, pressed.Count(Is(kIconColour)));
    EXPECT_EQ(0, pressed.Count(Is(kSecond)));
}

TEST(ButtonDrawing, AnUnreadableIconLeavesTheButtonWithoutIconsButWithItsCaption) {
    DrawnButton b(L"Add");
    EXPECT_EQ(1u, b.button.UseIconHandles(reinterpret_cast<HICON>(static_cast<INT_PTR>(0x4321)),
                                          nullptr));
    Canvas canvas(kWidth, kHeight);
    b.Draw(canvas, 0);
    EXPECT_EQ(0, canvas.Count(Is(kIconColour)));
    // Without an icon the caption is centred in the whole button.
    ExpectSameRect(ExpectedInk(b.host.Font(), L"Add", RECT{0, 0, kWidth, kHeight}),
                   canvas.BoundsOf(Is(Sys(COLOR_BTNTEXT)), RECT{3, 3, kWidth - 3, kHeight - 3}));
}

TEST(ButtonDrawing, FlatButtonShowsAThinFrameOnlyUnderTheMouse) {
    DrawnButton b(L"Add", true);
    Canvas before(kWidth, kHeight);
    b.Draw(before, 0);
    EXPECT_EQ(Sys(COLOR_BTNFACE), before.At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNFACE), before.At(kWidth - 1, kHeight - 1));

    SendMessageW(b.window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    Canvas over(kWidth, kHeight);
    b.Draw(over, 0);
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), over.At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), over.At(kWidth - 1, kHeight - 1));
    EXPECT_EQ(16 * 16, over.Count(Is(kIconColour)));

    Canvas pressed(kWidth, kHeight);
    b.Draw(pressed, ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), pressed.At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), pressed.At(kWidth - 1, kHeight - 1));
    // Flat: neither the black frame nor the focus rectangle of the classic look.
    EXPECT_EQ(0, MarksOnRow(pressed, 4));

    SendMessageW(b.window, WM_MOUSELEAVE, 0, 0);
    Canvas after(kWidth, kHeight);
    b.Draw(after, 0);
    EXPECT_EQ(Sys(COLOR_BTNFACE), after.At(0, 0));
}

TEST(ButtonDrawing, MouseOverIsTrackedOnlyForFlatButtonsAndNotWhileDraggingIn) {
    DrawnButton dragged(L"Add", true);
    SendMessageW(dragged.window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 10));
    Canvas canvas(kWidth, kHeight);
    dragged.Draw(canvas, 0);
    EXPECT_EQ(Sys(COLOR_BTNFACE), canvas.At(0, 0));

    DrawnButton classic(L"Add", false);
    SendMessageW(classic.window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    Canvas classicCanvas(kWidth, kHeight);
    classic.Draw(classicCanvas, 0);
    // The classic raised border, not the hover frame: dark shadow at the edge.
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), classicCanvas.At(kWidth - 1, kHeight - 1));

    // Losing the focus ends the hover of a flat button.
    DrawnButton flat(L"Add", true);
    SendMessageW(flat.window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    SendMessageW(flat.window, WM_KILLFOCUS, 0, 0);
    Canvas afterFocus(kWidth, kHeight);
    flat.Draw(afterFocus, 0);
    EXPECT_EQ(Sys(COLOR_BTNFACE), afterFocus.At(0, 0));
}

} // namespace
