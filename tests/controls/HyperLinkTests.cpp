// The web-site link: its look, its cursor, the capture while the mouse is
// over it, and exactly one shell call per click.
#include "controls/CMyHyperLink.h"
#include "tests/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kLinkId = 1032;
constexpr int kWidth = 160;
constexpr int kHeight = 18;
constexpr wchar_t kAddress[] = L"https://www.quillotune.example";

class Link : public testing::Test {
protected:
    void SetUp() override {
        window =
            host.AddStatic(kLinkId, L"www.quillotune.example", RECT{20, 20, 20 + kWidth, 20 + kHeight});
        link.SetShellOpen([this](const ShellCall& call) { calls.push_back(call); });
        ASSERT_TRUE(link.AttachControl(window));
        link.SetTargetAddress(kAddress);
    }

    ControlHost host;
    CMyHyperLink link;
    HWND window = nullptr;
    std::vector<ShellCall> calls;
};

TEST_F(Link, TakingOverAsksForClicksAndUnderlinesTheControlsFont) {
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & SS_NOTIFY);
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(link.LinkFont(), font);
    EXPECT_NE(host.Font(), font);

    LOGFONTW original{}, underlined{};
    GetObjectW(host.Font(), sizeof original, &original);
    GetObjectW(font, sizeof underlined, &underlined);
    EXPECT_TRUE(underlined.lfUnderline);
    EXPECT_EQ(original.lfHeight, underlined.lfHeight);
    EXPECT_EQ(original.lfWeight, underlined.lfWeight);
    EXPECT_STREQ(original.lfFaceName, underlined.lfFaceName);
}

// The longest run of `colour` in any row.
int LongestRun(const Canvas& canvas, COLORREF colour) {
    int longest = 0;
    for (int y = 0; y < canvas.Height(); ++y) {
        int run = 0;
        for (int x = 0; x < canvas.Width(); ++x) {
            run = canvas.At(x, y) == colour ? run + 1 : 0;
            if (run > longest) longest = run;
        }
    }
    return longest;
}

TEST_F(Link, TextIsBlueAndUnderlinedWithOrWithoutTheMouse) {
    constexpr COLORREF kBlue = RGB(0, 0, 255);
    for (bool over : {false, true}) {
        if (over) SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        Canvas canvas(kWidth, kHeight, RGB(200, 200, 200));
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
        RECT text = canvas.BoundsOf(Is(kBlue));
        ASSERT_FALSE(IsEmpty(text)) << "over " << over;
        // The underline runs under (nearly) the whole text.
        EXPECT_GE(LongestRun(canvas, kBlue), (text.right - text.left) * 9 / 10) << over;
        // The background shows through: nothing but text was painted.
        EXPECT_EQ(RGB(200, 200, 200), canvas.At(kWidth - 1, kHeight - 1));
    }
}

TEST_F(Link, ShowsAHandCursorNeverAnEmptyOne) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(TRUE, SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(link.HandCursor(), GetCursor());
    // The help viewer's hand when there is one, else the platform's own.
    UniqueCursor viewerHand(CMyHyperLink::CopyHelpViewerCursor(CMyHyperLink::HelpViewerPath()));
    EXPECT_EQ(!viewerHand, link.HandCursor() == LoadCursorW(nullptr, IDC_HAND));

    CMyHyperLink missing;
    missing.SetHelpViewerPath(L"C:\\nowhere\\Winhlp32.exe");
    missing.AttachControl(host.AddStatic(2, L"other", RECT{20, 60, 100, 76}));
    ASSERT_NE(nullptr, LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), missing.HandCursor());
}

TEST_F(Link, CapturesTheMouseWhileItIsOverTheLink) {
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(window, GetCapture());
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(kWidth - 2, kHeight - 2));
    EXPECT_EQ(window, GetCapture());

    // Off the link (captured moves come with points outside the client area).
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(kWidth + 3, 5));
    EXPECT_EQ(nullptr, GetCapture());

    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(window, GetCapture());
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-4), 5));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(Link, AClickOrADoubleClickOpensTheAddressMinimisedOnce) {
    const LPARAM point = MAKELPARAM(5, 5);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(window, WM_LBUTTONUP, 0, point);
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(L"open", calls[0].verb);
    EXPECT_EQ(kAddress, calls[0].file);
    EXPECT_EQ(SW_SHOWMINIMIZED, calls[0].showCommand);
    // The parent does not see the click.
    EXPECT_EQ(0, host.CountCommands(kLinkId, STN_CLICKED));

    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(window, WM_LBUTTONUP, 0, point);
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageW(window, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(2u, calls.size());
    EXPECT_EQ(1, host.CountCommands(kLinkId, STN_DBLCLK));
}

} // namespace
