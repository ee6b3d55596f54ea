// The controls as the main dialog sets them up, the splash in front of it
// and the update question it asks once.
#include "app/CDodezOvurerApp.h"
#include "controls/CSplashWnd.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/support/DialogHarness.h"

#include <gtest/gtest.h>

namespace {

constexpr wchar_t kHost[] = L"www.quillotune.example";
constexpr wchar_t kAddress[] = L"https://www.quillotune.example";

const int kIconButtons[] = {IDC_PLAY, IDC_STOP_PREVIEW, IDC_ADD,     IDC_DELETE,   IDC_ERASE,
                            IDC_BURN, IDC_EXIT,         IDC_MOVE_UP, IDC_MOVE_DOWN};

// The icon resource's fully opaque pixels: the same on black and on white.
struct OpaquePixel {
    int x, y;
    COLORREF colour;
};
std::vector<OpaquePixel> OpaquePixelsOf(int iconId) {
    UniqueIcon icon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, 0, 0, 0)));
    Canvas onBlack(16, 16, RGB(0, 0, 0));
    Canvas onWhite(16, 16, RGB(255, 255, 255));
    DrawIconEx(onBlack.Dc(), 0, 0, icon.Get(), 0, 0, 0, nullptr, DI_NORMAL);
    DrawIconEx(onWhite.Dc(), 0, 0, icon.Get(), 0, 0, 0, nullptr, DI_NORMAL);
    std::vector<OpaquePixel> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (onBlack.At(x, y) == onWhite.At(x, y))
                pixels.push_back(OpaquePixel{x, y, onBlack.At(x, y)});
    return pixels;
}

TEST(LookInDialog, TheCommandButtonsAreOwnerDrawnWithTheirIconsAtTheLeftMargin) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    for (int id : kIconButtons) {
        auto style = static_cast<UINT>(GetWindowLongPtrW(h.Item(id), GWL_STYLE));
        EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), style & BS_TYPEMASK) << id;
    }
    // Play and Stop have a single space as caption: the icon is not centred.
    for (auto [id, iconId] : {std::pair{IDC_PLAY, IDI_PLAY}, std::pair{IDC_STOP_PREVIEW, IDI_STOP},
                              std::pair{IDC_ADD, IDI_ADD}}) {
        RECT client{};
        GetClientRect(h.Item(id), &client);
        Canvas printed(client.right, client.bottom);
        SendMessageW(h.Item(id), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.Dc()),
                     PRF_CLIENT);
        const std::vector<OpaquePixel> icon = OpaquePixelsOf(iconId);
        ASSERT_GT(icon.size(), 40u) << iconId;
        const int left = 3 + 5;
        const int top = (client.bottom - 16) / 2;
        int misplaced = 0;
        for (const OpaquePixel& pixel : icon)
            if (printed.At(left + pixel.x, top + pixel.y) != pixel.colour) ++misplaced;
        EXPECT_EQ(0, misplaced) << "button " << id;
    }
}

TEST(LookInDialog, DisablingAButtonMovesTheFocusToTheNextTabStop) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(h.Item(IDC_INFORMATION), GetFocus());
    EnableWindow(h.Item(IDC_ADD), FALSE);
    EXPECT_EQ(h.Item(IDC_DELETE), GetFocus());
}

TEST(LookInDialog, TheWebLinkIsUnderlinedAndOpensTheSiteMinimised) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    HWND link = h.Item(IDC_WEB_LINK);
    EXPECT_EQ(kHost, h.Text(IDC_WEB_LINK));
    EXPECT_TRUE(GetWindowLongPtrW(link, GWL_STYLE) & SS_NOTIFY);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_TRUE(font.lfUnderline);

    // The whole host shows: the link grew to the left to fit its text, its
    // right edge where the dialog put it.
    HFONT linkFont = reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0));
    Canvas measure(8, 8);
    SelectGuard selected(measure.Dc(), linkFont);
    SIZE extent{};
    GetTextExtentPoint32W(measure.Dc(), kHost, lstrlenW(kHost), &extent);
    RECT client{};
    GetClientRect(link, &client);
    EXPECT_GE(client.right, extent.cx);
    RECT templateRect{315, 305, 69, 11}; // x, y, width, height, as the template gives them
    MapDialogRect(h.Window(), &templateRect);
    templateRect.right += templateRect.left;
    RECT placed{};
    GetWindowRect(link, &placed);
    MapWindowPoints(nullptr, h.Window(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(templateRect.right, placed.right);

    h.Command(IDC_WEB_LINK, STN_CLICKED);
    ASSERT_EQ(1u, h.shellCalls.size());
    EXPECT_EQ(L"open", h.shellCalls[0].verb);
    EXPECT_EQ(kAddress, h.shellCalls[0].file);
    EXPECT_EQ(SW_SHOWMINIMIZED, h.shellCalls[0].showCommand);
    EXPECT_EQ(0u, h.boxes.Count());
}

// Gives queued messages to the application first, as the modal loop does.
void RunLikeTheModalLoop(CWinApp& app, HWND dialog) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_TIMER && message.hwnd == dialog) continue;
        if (app.PreTranslateMessage(&message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

TEST(LookInDialog, TheFirstPressWhileTheSplashIsUpOnlyClosesIt) {
    CDodezOvurerApp app;
    for (bool mouse : {true, false}) {
        CSplashWnd::SetSplashAllowed(true);
        DialogHarness h;
        const bool started = h.Start();
        CSplashWnd::SetSplashAllowed(false);
        ASSERT_TRUE(started);
        ASSERT_NE(nullptr, CSplashWnd::Current());
        EXPECT_EQ(h.Window(), app.MainWindow());
        EXPECT_EQ(h.Window(), GetWindow(CSplashWnd::Current()->Hwnd(), GW_OWNER));

        // A click on "Eject After Burn", or a key typed into the label field.
        HWND eject = h.Item(IDC_EJECT);
        HWND label = h.Item(IDC_VOLUME_LABEL);
        SetFocus(label);
        SendMessageW(label, EM_SETSEL, 0, -1);
        auto press = [&] {
            if (mouse) {
                PostMessageW(eject, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
                PostMessageW(eject, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            } else {
                PostMessageW(label, WM_KEYDOWN, L'X', 1);
                PostMessageW(label, WM_KEYUP, L'X', 0xC0000001);
            }
            RunLikeTheModalLoop(app, h.Window());
        };
        press();
        EXPECT_EQ(nullptr, CSplashWnd::Current());
        EXPECT_FALSE(h.Checked(IDC_EJECT));
        EXPECT_EQ(L"NEW", h.Text(IDC_VOLUME_LABEL));
        press();
        EXPECT_EQ(mouse, h.Checked(IDC_EJECT));
        EXPECT_EQ(mouse ? L"NEW" : L"x", h.Text(IDC_VOLUME_LABEL));
    }
}

struct Question {
    int draw;
    int answer;
    bool opensTheSite;
    const wchar_t* ending;
};

class UpdateQuestion : public testing::TestWithParam<Question> {};

TEST_P(UpdateQuestion, OpensTheSiteOnlyForTheAnswerThatAsksForIt) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    h.dialog->SetRandomDraw([] { return GetParam().draw; });
    h.boxes.QueueAnswers({GetParam().answer});
    h.Tick(TIMER_UPDATE_QUESTION);

    auto boxes = h.boxes.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"Message", boxes[0].caption);
    EXPECT_EQ(std::wstring(L"There may be an update on ") + kHost + GetParam().ending,
              boxes[0].text);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), boxes[0].buttons);
    EXPECT_EQ(h.Window(), boxes[0].owner);

    if (!GetParam().opensTheSite) {
        EXPECT_TRUE(h.shellCalls.empty());
        return;
    }
    ASSERT_EQ(1u, h.shellCalls.size());
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

TEST(LookInDialog, TheUpdateQuestionIsAskedOnce) {
    DialogHarness h;
    ASSERT_TRUE(h.Start());
    EXPECT_EQ(0u, h.boxes.Count());
    h.Tick(TIMER_UPDATE_QUESTION);
    h.Tick(TIMER_UPDATE_QUESTION);
    EXPECT_EQ(1u, h.boxes.Count());
    // Its timer is gone after the first tick.
    EXPECT_FALSE(KillTimer(h.Window(), TIMER_UPDATE_QUESTION));
    // The ruler's timer is untouched.
    EXPECT_TRUE(KillTimer(h.Window(), TIMER_RULER_REFRESH));
}

} // namespace
