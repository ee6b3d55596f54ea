// The themed faces: the helper binds the theme library by name with its
// fallbacks, and the button chooses the theme state at every draw. A stand-in
// library paints each state in its own colour; the real one shows the same
// drawing reaches the platform's theme engine.
#include "controls/CThemeHelperST.h"
#include "controls/CXPStyleButtonST.h"
#include "tests/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kWidth = 93;
constexpr int kHeight = 30;

COLORREF Sys(int index) {
    return GetSysColor(index);
}

// The stand-in theme library and its controls.
class FakeTheme {
public:
    FakeTheme() : m_path(BesideTheProgram(L"FakeTheme.dll")) {
        m_module.Reset(LoadLibraryW(m_path.c_str()));
        auto find = [this](const char* name) {
            return reinterpret_cast<void*>(GetProcAddress(m_module.Get(), name));
        };
        m_configure = reinterpret_cast<ConfigureFn>(find("FakeThemeConfigure"));
        m_takeLog = reinterpret_cast<TakeLogFn>(find("FakeThemeTakeLog"));
        m_stateColour = reinterpret_cast<StateColourFn>(find("FakeThemeStateColour"));
        m_openCount = reinterpret_cast<OpenCountFn>(find("FakeThemeOpenCount"));
        Configure(true, false);
    }
    bool Loaded() const { return m_configure && m_takeLog && m_stateColour && m_openCount; }
    const wchar_t* Path() const { return m_path.c_str(); }
    void Configure(bool themed, bool openFails) { m_configure(themed, openFails); }
    std::string TakeLog() {
        char buffer[1024] = {};
        m_takeLog(buffer, sizeof buffer);
        return buffer;
    }
    COLORREF StateColour(int state) const { return m_stateColour(state); }
    int OpenThemes() const { return m_openCount(); }

private:
    using ConfigureFn = void(WINAPI*)(BOOL, BOOL);
    using TakeLogFn = void(WINAPI*)(char*, int);
    using StateColourFn = COLORREF(WINAPI*)(int);
    using OpenCountFn = int(WINAPI*)();
    std::wstring m_path;
    UniqueModule m_module;
    ConfigureFn m_configure = nullptr;
    TakeLogFn m_takeLog = nullptr;
    StateColourFn m_stateColour = nullptr;
    OpenCountFn m_openCount = nullptr;
};

std::string Background(int state) {
    return "Background(1," + std::to_string(state) + ",0,0," + std::to_string(kWidth) + "," +
           std::to_string(kHeight) + ",noclip)";
}

std::string ThemedDraw(int state) {
    return "Open(BUTTON,window);Parent;" + Background(state) + ";Close";
}

class ThemedButton : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(theme.Loaded());
        window = host.AddButton(7, L"", RECT{10, 10, 10 + kWidth, 10 + kHeight});
        button.AttachControl(window);
        button.UseFlatLook(false, false);
    }
    void Draw(Canvas& canvas, UINT state) {
        button.DrawItem(DrawRequest(window, canvas.Dc(), state));
    }

    FakeTheme theme;
    CThemeHelperST helper{theme.Path()};
    ControlHost host;
    CXPStyleButtonST button;
    HWND window = nullptr;
};

TEST_F(ThemedButton, HelperCallsTheLibrarysFunctionsAndAsksEveryTime) {
    ASSERT_TRUE(helper.IsLibraryLoaded());
    EXPECT_TRUE(helper.IsAppThemed());
    theme.Configure(false, false);
    EXPECT_FALSE(helper.IsAppThemed());

    Canvas canvas(kWidth, kHeight);
    RECT rect{0, 0, kWidth, kHeight};
    HTHEME handle = helper.OpenThemeData(window, L"BUTTON");
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(S_OK, helper.DrawThemeBackground(handle, nullptr, canvas.Dc(), 1, 2, &rect, &rect));
    EXPECT_EQ(S_OK, helper.CloseThemeData(handle));
    // No window given: the parent's background is skipped.
    EXPECT_EQ("Open(BUTTON,window);Background(1,2,0,0,93,30,clip);Close", theme.TakeLog());
}

struct StateCase {
    UINT drawState;
    bool defaultButton;
    int themeState;
};

class ThemeState : public ThemedButton, public testing::WithParamInterface<StateCase> {};

TEST_P(ThemeState, IsChosenFromTheDrawRequestAndTheDefaultFlag) {
    button.AttachThemeHelper(&helper);
    if (GetParam().defaultButton) SendMessageW(window, BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    theme.TakeLog();

    Canvas canvas(kWidth, kHeight);
    Draw(canvas, GetParam().drawState);
    EXPECT_EQ(ThemedDraw(GetParam().themeState), theme.TakeLog());
    EXPECT_EQ(0, theme.OpenThemes());
    // The face covers the whole rectangle: no black frame, no classic border.
    const COLORREF face = theme.StateColour(GetParam().themeState);
    EXPECT_EQ(face, canvas.At(0, 0));
    EXPECT_EQ(face, canvas.At(kWidth - 1, kHeight - 1));
    EXPECT_EQ(face, canvas.At(kWidth / 2, 2));
    // A focused one gets the focus rectangle over the face, 3 pixels inside.
    int marks = 0;
    for (int x = 3; x < kWidth - 3; ++x)
        if (canvas.At(x, 3) != face) ++marks;
    EXPECT_EQ((GetParam().drawState & ODS_FOCUS) != 0, marks > (kWidth - 6) / 3);
}

INSTANTIATE_TEST_SUITE_P(DrawRequests, ThemeState,
                         testing::Values(StateCase{0, false, 1}, StateCase{0, true, 5},
                                         StateCase{ODS_FOCUS, false, 1},
                                         StateCase{ODS_SELECTED, true, 3},
                                         StateCase{ODS_DISABLED, true, 4},
                                         StateCase{ODS_SELECTED | ODS_DISABLED, false, 4}));

TEST_F(ThemedButton, AHoveredFlatButtonIsHot) {
    button.UseFlatLook(true, false);
    button.AttachThemeHelper(&helper);
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    theme.TakeLog();
    Canvas canvas(kWidth, kHeight);
    Draw(canvas, 0);
    EXPECT_EQ(ThemedDraw(2), theme.TakeLog());
    EXPECT_EQ(theme.StateColour(2), canvas.At(0, 0));
}

TEST_F(ThemedButton, SwitchingStylesOffShowsTheClassicLookAtTheNextDraw) {
    button.AttachThemeHelper(&helper);
    Canvas themed(kWidth, kHeight);
    Draw(themed, 0);
    EXPECT_EQ(theme.StateColour(1), themed.At(0, 0));

    theme.Configure(false, false);
    Canvas classic(kWidth, kHeight);
    Draw(classic, 0);
    EXPECT_EQ("", theme.TakeLog());
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), classic.At(0, 10));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), classic.At(kWidth - 1, 10));
    EXPECT_EQ(Sys(COLOR_BTNFACE), classic.At(kWidth / 2, 10));
}

TEST_F(ThemedButton, WithoutThemeDataTheFaceIsClassicAndHasNoBorder) {
    button.AttachThemeHelper(&helper);
    theme.Configure(true, true);
    Canvas canvas(kWidth, kHeight);
    Draw(canvas, 0);
    EXPECT_EQ("Open(BUTTON,window)", theme.TakeLog());
    EXPECT_EQ(Sys(COLOR_BTNFACE), canvas.At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNFACE), canvas.At(kWidth - 1, kHeight - 1));
    EXPECT_EQ(Sys(COLOR_BTNFACE), canvas.At(1, 10));
}

TEST_F(ThemedButton, AttachingDecidesWhetherAFlatButtonGetsItsHoverFrame) {
    // Attached while themed: the thin frame stays off even once unthemed.
    button.UseFlatLook(true, false);
    button.AttachThemeHelper(&helper);
    theme.Configure(false, false);
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    Canvas noFrame(kWidth, kHeight);
    Draw(noFrame, 0);
    EXPECT_EQ(Sys(COLOR_BTNFACE), noFrame.At(0, 0));

    // Attached while not themed, or with no helper: the frame is back.
    const CThemeHelperST* attachments[] = {&helper, nullptr};
    for (const CThemeHelperST* attached : attachments) {
        CXPStyleButtonST other;
        HWND otherWindow = host.AddButton(8, L"", RECT{10, 60, 10 + kWidth, 60 + kHeight});
        other.AttachControl(otherWindow);
        other.AttachThemeHelper(attached);
        SendMessageW(otherWindow, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
        Canvas frame(kWidth, kHeight);
        other.DrawItem(DrawRequest(otherWindow, frame.Dc(), 0));
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), frame.At(0, 0));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), frame.At(kWidth - 1, kHeight - 1));
        DestroyWindow(otherWindow);
    }
}

TEST(ThemeHelper, WithoutTheLibraryEveryFunctionFallsBack) {
    CThemeHelperST none(nullptr);
    CThemeHelperST unknown(L"NoSuchThemeLibrary.dll");
    ControlHost host;
    for (const CThemeHelperST* helper : {&none, &unknown}) {
        EXPECT_FALSE(helper->IsLibraryLoaded());
        EXPECT_FALSE(helper->IsAppThemed());
        EXPECT_EQ(nullptr, helper->OpenThemeData(host.Hwnd(), L"BUTTON"));
        EXPECT_EQ(E_FAIL, helper->CloseThemeData(nullptr));
        Canvas canvas(20, 20, RGB(1, 2, 3));
        RECT rect{0, 0, 20, 20};
        EXPECT_EQ(E_FAIL, helper->DrawThemeBackground(nullptr, host.Hwnd(), canvas.Dc(), 1, 1,
                                                      &rect, nullptr));
        EXPECT_EQ(20 * 20, canvas.Count(Is(RGB(1, 2, 3))));
    }
}

// The platform's own theme library: when the prefix runs with visual styles,
// the face is exactly what the theme engine draws for a push button; without
// them, the classic look.
TEST(ThemeHelper, TheRealLibraryDrawsTheFaceWhenTheApplicationIsThemed) {
    CThemeHelperST real;
    ASSERT_TRUE(real.IsLibraryLoaded());
    ControlHost host;
    CXPStyleButtonST button;
    HWND window = host.AddButton(1, L"", RECT{10, 10, 10 + kWidth, 10 + kHeight});
    button.AttachControl(window);
    button.UseFlatLook(false, false);
    button.AttachThemeHelper(&real);

    Canvas drawn(kWidth, kHeight);
    button.DrawItem(DrawRequest(window, drawn.Dc(), 0));

    Canvas expected(kWidth, kHeight);
    RECT rect{0, 0, kWidth, kHeight};
    if (real.IsAppThemed()) {
        HTHEME theme = real.OpenThemeData(window, L"BUTTON");
        ASSERT_NE(nullptr, theme);
        real.DrawThemeBackground(theme, window, expected.Dc(), 1, 1, &rect, nullptr);
        real.CloseThemeData(theme);
        // The theme's face is not the classic one.
        EXPECT_NE(Sys(COLOR_BTNHIGHLIGHT), drawn.At(0, 10));
    } else {
        CButtonST classic;
        HWND other = host.AddButton(2, L"", RECT{10, 50, 10 + kWidth, 50 + kHeight});
        classic.AttachControl(other);
        classic.UseFlatLook(false, false);
        classic.DrawItem(DrawRequest(other, expected.Dc(), 0));
    }
    int differences = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (drawn.At(x, y) != expected.At(x, y)) ++differences;
    EXPECT_EQ(0, differences) << (real.IsAppThemed() ? "themed" : "classic");
}

} // namespace
