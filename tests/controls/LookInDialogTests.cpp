// The controls as the main dialog sets them up and a user meets them: the
// icon buttons, the web link, the splash in front of it at start-up and the
// update question it asks once.
#include "app/CDodezOvurerApp.h"
#include "controls/CSplashWnd.h"
#include "tests/controls/Canvas.h"
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr wchar_t kHost[] = L"www.quillotune.example";
constexpr wchar_t kAddress[] = L"https://www.quillotune.example";

void PrintClient(HWND window, const Canvas& canvas) {
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
}

TEST(LookInDialog, TheCommandButtonsAreOwnerDrawnWithTheirIconsAtTheLeftMargin) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    for (int id : {IDC_PLAY, IDC_STOP_PREVIEW, IDC_ADD, IDC_DELETE, IDC_ERASE, IDC_BURN, IDC_EXIT,
                   IDC_MOVE_UP, IDC_MOVE_DOWN})
        EXPECT_EQ(BS_OWNERDRAW, GetWindowLongPtrW(h.Item(id), GWL_STYLE) & BS_TYPEMASK) << id;
    // Play and Stop have a single space as caption: the icon is not centred.
    for (auto [id, iconId] : {std::pair{IDC_PLAY, IDI_PLAY}, std::pair{IDC_STOP_PREVIEW, IDI_STOP},
                              std::pair{IDC_ADD, IDI_ADD}}) {
        UniqueIcon icon(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, 0, 0, 0)));
        // The icon's fully opaque pixels are the same on black and on white.
        Canvas onBlack(16, 16, RGB(0, 0, 0)), onWhite(16, 16);
        DrawIconEx(onBlack.Dc(), 0, 0, icon.Get(), 0, 0, 0, nullptr, DI_NORMAL);
        DrawIconEx(onWhite.Dc(), 0, 0, icon.Get(), 0, 0, 0, nullptr, DI_NORMAL);
        RECT client{};
        GetClientRect(h.Item(id), &client);
        // Pressed, it moves one pixel right and down.
        for (int pressed : {0, 1}) {
            SendMessageW(h.Item(id), BM_SETSTATE, pressed, 0);
            Canvas printed(client.right, client.bottom);
            PrintClient(h.Item(id), printed);
            const int left = 3 + 5 + pressed, top = (client.bottom - 16) / 2 + pressed;
            int opaque = 0, misplaced = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    if (onBlack.At(x, y) == onWhite.At(x, y)) {
                        ++opaque;
                        misplaced += printed.At(left + x, top + y) != onBlack.At(x, y);
                    }
            EXPECT_GT(opaque, 40) << iconId;
            EXPECT_EQ(0, misplaced) << "button " << id << " pressed " << pressed;
        }
    }
}

// The system tells only top-level windows of a new colour scheme; the icon
// buttons take its colours all the same.
TEST(LookInDialog, TheIconButtonsTakeANewColourScheme) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    struct SchemeChange {
        const int element = COLOR_BTNTEXT;
        const COLORREF original = GetSysColor(COLOR_BTNTEXT);
        void To(HWND dialog, COLORREF colour) const {
            SetSysColors(1, &element, &colour);
            SendMessageW(dialog, WM_SYSCOLORCHANGE, 0, 0);
        }
    } change;
    const COLORREF red = RGB(200, 0, 0);
    change.To(h.Window(), red);
    RECT client{};
    GetClientRect(h.Item(IDC_ADD), &client);
    Canvas printed(client.right, client.bottom);
    PrintClient(h.Item(IDC_ADD), printed);
    change.To(h.Window(), change.original);
    // The caption "Add" stands right of the icon, in the new colour.
    const RECT caption = printed.BoundsOf(red, client);
    EXPECT_LT(caption.left, caption.right);
    EXPECT_GT(caption.left, 3 + 16);
}

TEST(LookInDialog, ADoubleClickIsTwoClicksAndDisablingMovesTheFocusOn) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(nullptr, CSplashWnd::Current()); // not allowed by the command line
    HWND add = h.Item(IDC_ADD);
    ASSERT_EQ(h.Item(IDC_INFORMATION), GetFocus());
    // To the next tab stop after the button, whoever had the focus.
    EnableWindow(add, FALSE);
    EXPECT_EQ(h.Item(IDC_DELETE), GetFocus());
    EnableWindow(add, TRUE);

    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageW(add, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
    h.Pump();
    EXPECT_EQ(2, h.openDialogUses);
    // A click from the keyboard takes the focus too.
    SetFocus(h.Item(IDC_INFORMATION));
    h.Command(IDC_ADD);
    EXPECT_EQ(add, GetFocus());
}

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

TEST(LookInDialog, TheWebLinkIsABlueUnderlinedHandThatOpensTheSiteOncePerClick) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    HWND link = h.Item(IDC_WEB_LINK);
    EXPECT_EQ(kHost, h.Text(IDC_WEB_LINK));

    // An underlined copy of the dialog's font, and room for the whole host.
    LOGFONTW dialogFont{}, linkFont{};
    GetObjectW(FontOf(h.Window()), sizeof dialogFont, &dialogFont);
    GetObjectW(FontOf(link), sizeof linkFont, &linkFont);
    EXPECT_TRUE(linkFont.lfUnderline);
    EXPECT_STREQ(dialogFont.lfFaceName, linkFont.lfFaceName);
    RECT client{};
    GetClientRect(link, &client);
    Canvas printed(client.right, client.bottom, RGB(200, 200, 200));
    SelectObject(printed.Dc(), FontOf(link));
    SIZE extent{};
    GetTextExtentPoint32W(printed.Dc(), kHost, lstrlenW(kHost), &extent);
    EXPECT_GE(client.right, extent.cx);
    // Blue text over the dialog's background.
    PrintClient(link, printed);
    EXPECT_LT(client.right / 2, printed.BoundsOf(RGB(0, 0, 255), client).right);
    EXPECT_EQ(RGB(200, 200, 200), printed.At(client.right - 1, client.bottom - 1));

    // The help viewer's hand when it has one, else the platform's own.
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), HTCLIENT);
    UniqueCursor viewerHand(CMyHyperLink::CopyHelpViewerCursor(CMyHyperLink::HelpViewerPath()));
    EXPECT_EQ(!viewerHand, GetCursor() == LoadCursorW(nullptr, IDC_HAND));
    EXPECT_NE(LoadCursorW(nullptr, IDC_ARROW), GetCursor());

    // The mouse is captured while over the link (so it hears the move off it).
    SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(link, GetCapture());
    SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(client.right + 3, 5));
    EXPECT_EQ(nullptr, GetCapture());

    // A click, then a double click: one opening per click.
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP,
                         WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageW(link, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
    h.Pump();
    ASSERT_EQ(2u, h.shellCalls.size());
    EXPECT_EQ(L"open", h.shellCalls[0].verb);
    EXPECT_EQ(kAddress, h.shellCalls[0].file);
    EXPECT_EQ(SW_SHOWMINIMIZED, h.shellCalls[0].showCommand);
    EXPECT_EQ(0u, h.boxes.Count());
}

// The columns of a bitmap like the screen's (where text may come out wider
// than a DIB shows it) holding black: {first, last + 1}.
std::pair<int, int> BlackColumns(int width, int height, const std::function<void(HDC)>& draw) {
    WindowDc screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    {
        UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
        SelectGuard selected(dc.Get(), bitmap.Get());
        RECT all{0, 0, width, height};
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        draw(dc.Get());
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    GetDIBits(screen.Get(), bitmap.Get(), 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    std::pair<int, int> columns{width, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF) == 0) {
                columns.first = std::min(columns.first, x);
                columns.second = std::max(columns.second, x + 1);
            }
    return columns;
}

// Where the dialog's own font is missing (a fresh Wine prefix), a TrueType
// font stands in whose unsmoothed glyphs come out wider than its text extent:
// the link still shows all of its host name.
TEST(WebLink, ShowsItsWholeHostInAFontDrawnWiderThanItsExtent) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 60, nullptr,
                                  nullptr, nullptr, nullptr);
    // Like control 1032: right-aligned, narrower than its text.
    HWND label = CreateWindowExW(WS_EX_RIGHT, L"STATIC", kHost, WS_CHILD | WS_VISIBLE | SS_LEFT,
                                 200, 20, 90, 17, parent, nullptr, nullptr, nullptr);
    LOGFONTW description{};
    description.lfHeight = -11;
    description.lfQuality = PROOF_QUALITY;
    lstrcpyW(description.lfFaceName, L"Liberation Sans");
    UniqueFont font(CreateFontIndirectW(&description));
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    CMyHyperLink link;
    ASSERT_TRUE(link.AttachControl(label));

    RECT client{};
    GetClientRect(label, &client);
    const auto shown = BlackColumns(client.right + 40, client.bottom, [&](HDC dc) {
        SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
    const auto whole = BlackColumns(300, client.bottom, [&](HDC dc) {
        SelectGuard underlined(dc, FontOf(label));
        SetBkMode(dc, TRANSPARENT);
        TextOutW(dc, 0, 0, kHost, lstrlenW(kHost));
    });
    EXPECT_EQ(whole.second - whole.first, shown.second - shown.first);
    EXPECT_LE(shown.second, client.right);
    RECT rect{};
    GetWindowRect(label, &rect);
    EXPECT_EQ(290, rect.right); // its right edge stays
    DestroyWindow(parent);
}

// The dialog started as the program starts it, the splash allowed; queued
// messages reach the application first, as in the modal loop.
class SplashAtStartUp : public testing::Test {
protected:
    void SetUp() override {
        CSplashWnd::SetSplashAllowed(true);
        const bool started = h.Start();
        CSplashWnd::SetSplashAllowed(false);
        ASSERT_TRUE(started);
        ASSERT_NE(nullptr, CSplashWnd::Current());
        splash = CSplashWnd::Current()->Hwnd();
    }
    void RunLikeTheModalLoop() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER && message.hwnd == h.Window()) continue;
            if (app.PreTranslateMessage(&message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    CDodezOvurerApp app;
    DialogHarness h;
    HWND splash = nullptr;
};

TEST_F(SplashAtStartUp, IsThePictureAtItsOwnSizeCentredUntilItsTimeIsUp) {
    EXPECT_EQ(h.Window(), GetWindow(splash, GW_OWNER));
    UniqueBitmap picture(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_SPLASH), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP size{};
    ASSERT_TRUE(GetObjectW(picture.Get(), sizeof size, &size));
    RECT rect{};
    GetWindowRect(splash, &rect);
    EXPECT_EQ(size.bmWidth, rect.right - rect.left);
    EXPECT_EQ(size.bmHeight, rect.bottom - rect.top);
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromWindow(splash, MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_NEAR(rect.left - monitor.rcWork.left, monitor.rcWork.right - rect.right, 1);
    EXPECT_NEAR(rect.top - monitor.rcWork.top, monitor.rcWork.bottom - rect.bottom, 1);

    Canvas drawn(size.bmWidth, size.bmHeight);
    PrintClient(splash, drawn);
    Canvas expected(size.bmWidth, size.bmHeight);
    DrawStateW(expected.Dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(picture.Get()), 0, 0, 0, 0,
               0, DST_BITMAP);
    EXPECT_EQ(0, drawn.Differences(expected, RECT{0, 0, size.bmWidth, size.bmHeight}));

    SendMessageW(splash, WM_TIMER, TIMER_SPLASH, 0);
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_EQ(nullptr, CSplashWnd::Current());
}

// On a busy machine the dialog may still be hidden when the splash would put
// itself in front again; it waits for the dialog to be up.
TEST_F(SplashAtStartUp, ComesBackInFrontOnceTheDialogIsUp) {
    auto runFor = [&](DWORD milliseconds) {
        for (DWORD end = GetTickCount() + milliseconds; GetTickCount() < end; Sleep(10))
            RunLikeTheModalLoop();
    };
    ShowWindow(h.Window(), SW_HIDE);
    SetTimer(splash, TIMER_SPLASH_FRONT, 20, nullptr);
    runFor(150);
    EXPECT_TRUE(KillTimer(splash, TIMER_SPLASH_FRONT)); // still waiting
    SetTimer(splash, TIMER_SPLASH_FRONT, 20, nullptr);
    ShowWindow(h.Window(), SW_SHOWNA);
    runFor(150);
    EXPECT_FALSE(KillTimer(splash, TIMER_SPLASH_FRONT)); // done
    int splashPlace = 0, dialogPlace = 0, place = 0;
    for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT), ++place) {
        if (w == splash) splashPlace = place;
        if (w == h.Window()) dialogPlace = place;
    }
    EXPECT_LT(splashPlace, dialogPlace);
}

TEST_F(SplashAtStartUp, MovesPassItByAndTheFirstKeyOnlyClosesIt) {
    HWND label = h.Item(IDC_VOLUME_LABEL);
    SetFocus(label);
    SendMessageW(label, EM_SETSEL, 0, -1);
    PostMessageW(label, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    RunLikeTheModalLoop();
    EXPECT_TRUE(IsWindow(splash));

    auto type = [&] {
        PostMessageW(label, WM_KEYDOWN, L'X', 1);
        PostMessageW(label, WM_KEYUP, L'X', 0xC0000001);
        RunLikeTheModalLoop();
    };
    type();
    EXPECT_FALSE(IsWindow(splash));
    EXPECT_EQ(nullptr, CSplashWnd::Current());
    EXPECT_EQ(L"NEW", h.Text(IDC_VOLUME_LABEL));
    type();
    EXPECT_EQ(L"x", h.Text(IDC_VOLUME_LABEL));
}

struct Question {
    int draw;
    int answer;
    bool opensTheSite;
    const wchar_t* ending;
};

class UpdateQuestion : public testing::TestWithParam<Question> {};

TEST_P(UpdateQuestion, IsAskedOnceAndOpensTheSiteOnlyForTheAnswerThatAsksForIt) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    h.dialog->SetRandomDraw([] { return GetParam().draw; });
    h.boxes.QueueAnswers({GetParam().answer});
    EXPECT_EQ(0u, h.boxes.Count());
    h.Tick(TIMER_UPDATE_QUESTION);
    EXPECT_FALSE(KillTimer(h.Window(), TIMER_UPDATE_QUESTION)); // killed on its first tick
    h.Tick(TIMER_UPDATE_QUESTION);

    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Message", boxes[0].caption);
    EXPECT_EQ(std::wstring(L"There may be an update on ") + kHost + GetParam().ending,
              boxes[0].text);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), boxes[0].buttons);
    EXPECT_EQ(h.Window(), boxes[0].owner);
    ASSERT_EQ(GetParam().opensTheSite ? 1u : 0u, h.shellCalls.size());
    if (!GetParam().opensTheSite) return;
    EXPECT_EQ(L"", h.shellCalls[0].verb);
    EXPECT_EQ(kAddress, h.shellCalls[0].file);
    EXPECT_EQ(SW_SHOWNORMAL, h.shellCalls[0].showCommand);
}

INSTANTIATE_TEST_SUITE_P(
    BothFormsEachAnswer, UpdateQuestion,
    testing::Values(Question{0, IDYES, true, L". Do you want to check it now?"},
                    Question{2, IDNO, false, L". Do you want to check it now?"},
                    Question{1, IDNO, true, L". Continue without checking?"},
                    Question{3, IDYES, false, L". Continue without checking?"}));

} // namespace
