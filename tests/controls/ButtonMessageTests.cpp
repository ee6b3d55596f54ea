// The icon button's messages: taking over, the dialog manager's questions,
// clicks and double clicks, and where the focus goes when it is disabled.
#include "controls/CButtonST.h"
#include "tests/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

namespace {

RECT Place(int row) {
    return RECT{10, 10 + row * 30, 100, 35 + row * 30};
}

UINT ButtonType(HWND window) {
    return static_cast<UINT>(GetWindowLongPtrW(window, GWL_STYLE)) & BS_TYPEMASK;
}

LRESULT DialogCode(HWND window) {
    return SendMessageW(window, WM_GETDLGCODE, 0, 0);
}

TEST(ButtonMessages, TakingOverMakesTheButtonOwnerDrawnAndKeepsItsDefaultFlag) {
    ControlHost host;
    CButtonST plain;
    CButtonST chosen;
    HWND plainWindow = host.AddButton(1, L"Add", Place(0));
    HWND chosenWindow = host.AddButton(2, L"OK", Place(1), BS_DEFPUSHBUTTON);
    ASSERT_TRUE(plain.AttachControl(plainWindow));
    ASSERT_TRUE(chosen.AttachControl(chosenWindow));

    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), ButtonType(plainWindow));
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), ButtonType(chosenWindow));
    // Still a push button to the dialog manager.
    EXPECT_TRUE(DialogCode(plainWindow) & DLGC_UNDEFPUSHBUTTON);
    EXPECT_FALSE(DialogCode(plainWindow) & DLGC_DEFPUSHBUTTON);
    EXPECT_TRUE(DialogCode(chosenWindow) & DLGC_DEFPUSHBUTTON);

    // A push button has no check state.
    SendMessageW(plainWindow, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(0, SendMessageW(plainWindow, BM_GETCHECK, 0, 0));
}

TEST(ButtonMessages, SetStyleMovesTheDefaultFlagButKeepsTheButtonOwnerDrawn) {
    ControlHost host;
    CButtonST button;
    HWND window = host.AddButton(1, L"Add", Place(0));
    button.AttachControl(window);

    SendMessageW(window, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), ButtonType(window));
    EXPECT_TRUE(DialogCode(window) & DLGC_DEFPUSHBUTTON);

    SendMessageW(window, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), ButtonType(window));
    EXPECT_TRUE(DialogCode(window) & DLGC_UNDEFPUSHBUTTON);
    EXPECT_FALSE(DialogCode(window) & DLGC_DEFPUSHBUTTON);
}

void DoubleClick(HWND window) {
    const LPARAM point = MAKELPARAM(5, 5);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(window, WM_LBUTTONUP, 0, point);
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageW(window, WM_LBUTTONUP, 0, point);
}

TEST(ButtonMessages, ADoubleClickIsTwoClicks) {
    ControlHost host;
    CButtonST button;
    HWND window = host.AddButton(1, L"Add", Place(0));
    button.AttachControl(window);
    DoubleClick(window);
    EXPECT_EQ(2, host.CountCommands(1, BN_CLICKED));
    EXPECT_EQ(0, host.CountCommands(1, BN_DOUBLECLICKED));

    // Left alone, an owner-drawn button swallows the second click.
    HWND bare = host.AddButton(2, L"Bare", Place(1), BS_OWNERDRAW);
    DoubleClick(bare);
    EXPECT_EQ(1, host.CountCommands(2, BN_CLICKED));
}

TEST(ButtonMessages, AClickTakesTheFocusAndStillReachesTheParent) {
    ControlHost host;
    CButtonST button;
    HWND window = host.AddButton(1, L"Add", Place(0));
    HWND other = host.AddButton(2, L"Other", Place(1));
    button.AttachControl(window);
    SetFocus(other);
    ASSERT_EQ(other, GetFocus());

    // As the keyboard's space bar or BM_CLICK would report it.
    SendMessageW(host.Hwnd(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(window, GetFocus());
    EXPECT_EQ(1, host.CountCommands(1, BN_CLICKED));
}

TEST(ButtonMessages, DisablingMovesTheFocusToTheNextTabStopAfterTheButton) {
    ControlHost host;
    CButtonST first, second, third;
    HWND a = host.AddButton(1, L"A", Place(0));
    HWND b = host.AddButton(2, L"B", Place(1));
    HWND c = host.AddButton(3, L"C", Place(2));
    first.AttachControl(a);
    second.AttachControl(b);
    third.AttachControl(c);

    // Even when another control has the focus.
    SetFocus(c);
    EnableWindow(a, FALSE);
    EXPECT_EQ(b, GetFocus());

    // After the last one the search wraps round, skipping disabled ones.
    EnableWindow(c, FALSE);
    EXPECT_EQ(b, GetFocus());

    // With no tab stop left, the parent takes the focus.
    EnableWindow(b, FALSE);
    EXPECT_EQ(host.Hwnd(), GetFocus());

    // Enabling moves nothing.
    SetFocus(host.Hwnd());
    EnableWindow(a, TRUE);
    EXPECT_EQ(host.Hwnd(), GetFocus());
}

} // namespace
