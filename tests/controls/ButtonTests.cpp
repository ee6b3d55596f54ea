// The icon button drawn into a memory bitmap. Without the theme library (the
// helper's fallbacks) it has the classic look: the caption beside the icon,
// the press offset, the black frame, the embossed disabled look. With it, the
// face is the platform theme's, in the state of each draw request.
#include "controls/CThemeHelperST.h"
#include "controls/CXPStyleButtonST.h"
#include "resources/resource.h"
#include "tests/controls/Canvas.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kWidth = 93;
constexpr int kHeight = 30;
constexpr RECT kAll{0, 0, kWidth, kHeight};
constexpr COLORREF kBlack = RGB(0, 0, 0);
// Right of the icon (margin 3, 5 more, 16 wide) and inside the border.
constexpr RECT kCaptionArea{27, 3, kWidth - 3, kHeight - 3};
constexpr RECT kIconArea{8, 7, 24, 23};

// The platform's theme library, and a missing one whose fallbacks give the
// classic look.
const CThemeHelperST g_uxTheme;
const CThemeHelperST g_noTheme(L"NoSuchThemeLibrary.dll");

// A push button window of its own (top-level: no dialog needed) taken over as
// the dialog does; with a caption, it has an icon too. Without a font of its
// own it draws in the system font, which has no smoothing: exact text colours.
struct Drawn {
    Drawn(const wchar_t* caption, const CThemeHelperST& theme) {
        window = CreateWindowExW(0, L"BUTTON", caption, WS_POPUP | BS_PUSHBUTTON, 0, 0, kWidth,
                                 kHeight, nullptr, nullptr, nullptr, nullptr);
        button.AttachControl(window);
        if (*caption) button.UseIconResources(IDI_ADD, 0);
        button.UseFlatLook(false, false);
        button.AttachThemeHelper(&theme);
    }
    ~Drawn() { DestroyWindow(window); }

    std::unique_ptr<Canvas> Draw(UINT state) {
        auto canvas = std::make_unique<Canvas>(kWidth, kHeight);
        DRAWITEMSTRUCT request{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, state, window, canvas->Dc(), kAll};
        button.DrawItem(request);
        return canvas;
    }
    UINT Type() const { return GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK; }
    LRESULT DialogCode() const { return SendMessageW(window, WM_GETDLGCODE, 0, 0); }

    CXPStyleButtonST button;
    HWND window = nullptr;
};

TEST(ClassicButton, FocusedOrDefaultHasABlackFrameAndStaysOwnerDrawnWhenMadeTheDefault) {
    Drawn b(L"Add", g_noTheme);
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), b.Type());
    EXPECT_TRUE(b.DialogCode() & DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), b.Draw(0)->At(0, 10));
    auto focused = b.Draw(ODS_FOCUS);

    // As the dialog manager moves the default.
    SendMessageW(b.window, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), b.Type());
    EXPECT_TRUE(b.DialogCode() & DLGC_DEFPUSHBUTTON);
    auto chosen = b.Draw(0);
    EXPECT_EQ(kBlack, chosen->At(0, 0));
    EXPECT_EQ(kBlack, chosen->At(kWidth - 1, kHeight - 1));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), chosen->At(1, 10));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), chosen->At(10, kHeight - 2));
    // Focused, the same with the dotted focus rectangle 3 pixels inside.
    RECT focus{4, 4, kWidth - 4, kHeight - 4};
    DrawFocusRect(chosen->Dc(), &focus);
    EXPECT_EQ(0, focused->Differences(*chosen, kAll));

    SendMessageW(b.window, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), b.Type());
    EXPECT_FALSE(b.DialogCode() & DLGC_DEFPUSHBUTTON);
}

TEST(ClassicButton, PressedMovesIconAndCaptionOnePixelRightAndDownInAShadowFrame) {
    Drawn b(L"Add", g_noTheme);
    auto up = b.Draw(0);
    auto down = b.Draw(ODS_SELECTED);
    // The caption is centred between the icon (3 + 16 from the left) and the
    // right edge, give or take the letters' side bearings.
    RECT text = up->BoundsOf(kBlack, kCaptionArea);
    ASSERT_LT(text.left, text.right);
    EXPECT_NEAR(text.left - 19, kWidth - text.right, 4);
    EXPECT_NEAR(text.top, kHeight - text.bottom, 3);
    EXPECT_EQ(0, up->Differences(*down, RECT{3, 3, kWidth - 4, kHeight - 4}, 1, 1));
    EXPECT_NE(0, up->Differences(*down, RECT{3, 3, kWidth - 4, kHeight - 4}));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), down->At(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), down->At(kWidth - 1, kHeight - 1));
}

TEST(ClassicButton, DisabledEmbossesItsCaptionAndGreysItsIcon) {
    ASSERT_NE(GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    Drawn b(L"Add", g_noTheme);
    auto canvas = b.Draw(ODS_DISABLED);
    RECT text = canvas->BoundsOf(kBlack, kCaptionArea);
    EXPECT_GE(text.left, text.right);
    // The light copy lies one pixel right and down, under the shadow copy.
    RECT shadow = canvas->BoundsOf(GetSysColor(COLOR_BTNSHADOW), kCaptionArea);
    RECT light = canvas->BoundsOf(GetSysColor(COLOR_BTNHIGHLIGHT), kCaptionArea);
    ASSERT_LT(shadow.left, shadow.right);
    EXPECT_EQ(shadow.right + 1, light.right);
    EXPECT_EQ(shadow.bottom + 1, light.bottom);

    // The icon in the platform's disabled style, without its own colour.
    const COLORREF iconColour = b.Draw(0)->At(kIconArea.left + 8, kIconArea.top + 8);
    ASSERT_NE(GetSysColor(COLOR_BTNFACE), iconColour);
    RECT coloured = canvas->BoundsOf(iconColour, kIconArea);
    EXPECT_GE(coloured.left, coloured.right);
    EXPECT_LT(kIconArea.left, canvas->BoundsOf(GetSysColor(COLOR_BTNSHADOW), kIconArea).right);
}

struct StateCase {
    UINT drawState;
    bool defaultButton;
    int themeState; // of the push-button part
};

class ThemedFace : public testing::TestWithParam<StateCase> {};

// The test prefix runs with visual styles, as a user's desktop would.
TEST_P(ThemedFace, IsThePlatformThemesPushButtonInTheStateOfTheDrawRequest) {
    ASSERT_TRUE(g_uxTheme.IsAppThemed());
    Drawn b(L"", g_uxTheme);
    if (GetParam().defaultButton) SendMessageW(b.window, BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    auto drawn = b.Draw(GetParam().drawState);

    Canvas expected(kWidth, kHeight);
    HTHEME theme = g_uxTheme.OpenThemeData(b.window, L"BUTTON");
    ASSERT_NE(nullptr, theme);
    g_uxTheme.DrawThemeBackground(theme, b.window, expected.Dc(), 1, GetParam().themeState, &kAll,
                                  nullptr);
    g_uxTheme.CloseThemeData(theme);
    EXPECT_EQ(0, drawn->Differences(expected, kAll));
}

INSTANTIATE_TEST_SUITE_P(DrawRequests, ThemedFace,
                         testing::Values(StateCase{0, false, 1}, StateCase{0, true, 5},
                                         StateCase{ODS_SELECTED, true, 3},
                                         StateCase{ODS_DISABLED, true, 4},
                                         StateCase{ODS_SELECTED | ODS_DISABLED, false, 4}));

} // namespace
