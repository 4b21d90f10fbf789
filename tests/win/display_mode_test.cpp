// Real display-mode switches. This program runs inside a Wine virtual desktop of 1024x768
// (see run_in_desktop.sh), where Wine lists the modes 320x200 ... 1024x768 at 32, 16 and 8
// bits and really switches between them.
#include "screen/display_mode_win.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

struct Current {
    DWORD width, height, bits;
};

Current CurrentMode() {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    return {mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel};
}

class DisplayModeDesktop : public testing::Test {
  protected:
    void SetUp() override {
        desktop = CurrentMode();
        ASSERT_EQ(desktop.width, 1024u) << "not inside the 1024x768 virtual desktop";
        ASSERT_EQ(desktop.height, 768u);
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    }
    void TearDown() override {
        // Whatever happened, leave the desktop as it was.
        ChangeDisplaySettingsA(nullptr, 0);
    }

    void ExpectDesktop() {
        Current now = CurrentMode();
        EXPECT_EQ(now.width, desktop.width);
        EXPECT_EQ(now.height, desktop.height);
        EXPECT_EQ(now.bits, desktop.bits);
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), static_cast<int>(desktop.width));
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), static_cast<int>(desktop.height));
    }

    Current desktop{};
};

TEST_F(DisplayModeDesktop, SwitchesToASmallerModeAt16BitsAndBack) {
    CDisplayMode display(WinDisplayDevice());
    ASSERT_EQ(display.CalcDisplayMode(1, 640, 480, 16), 1);
    EXPECT_EQ(display.dmGame.dmPelsWidth, 640u);
    EXPECT_EQ(display.dmGame.dmPelsHeight, 480u);
    EXPECT_EQ(display.dmGame.dmBitsPerPel, 16u);

    ASSERT_EQ(display.ChangeDisplayMode(1), 1);
    Current game = CurrentMode();
    EXPECT_EQ(game.width, 640u);
    EXPECT_EQ(game.height, 480u);
    EXPECT_EQ(game.bits, 16u);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);

    // Losing and regaining activation toggles between the two.
    EXPECT_EQ(display.ChangeDisplayMode(0), 1);
    ExpectDesktop();
    EXPECT_EQ(display.ChangeDisplayMode(1), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(display.ChangeDisplayMode(0), 1);
    ExpectDesktop();
}

TEST_F(DisplayModeDesktop, KeptResolutionChangesOnlyTheDepth) {
    CDisplayMode display(WinDisplayDevice());
    ASSERT_EQ(display.CalcDisplayMode(0, 800, 600, 16), 1);
    ASSERT_EQ(display.bModeChosen, 1);
    ASSERT_EQ(display.ChangeDisplayMode(1), 1);
    Current game = CurrentMode();
    EXPECT_EQ(game.width, desktop.width);
    EXPECT_EQ(game.height, desktop.height);
    EXPECT_EQ(game.bits, 16u);
    EXPECT_EQ(display.ChangeDisplayMode(0), 1);
    ExpectDesktop();
}

TEST_F(DisplayModeDesktop, NoModeLargerThanTheDesktopAndNone24Bits) {
    CDisplayMode display(WinDisplayDevice());
    EXPECT_EQ(display.CalcDisplayMode(1, 1280, 1024, 32), 0);
    EXPECT_EQ(display.ChangeDisplayMode(1), 0);
    // 24 bits are not listed: the 16-bit fallback takes over.
    ASSERT_EQ(display.CalcDisplayMode(1, 800, 600, 24), 1);
    EXPECT_EQ(display.dmGame.dmBitsPerPel, 16u);
    EXPECT_EQ(display.dmGame.dmPelsWidth, 800u);
    ExpectDesktop();
}

// The process's own switcher works on the real display too.
TEST_F(DisplayModeDesktop, ProcessSwitcherRestoresTheDesktop) {
    ASSERT_EQ(g_DisplayMode.CalcDisplayMode(1, 800, 600, 32), 1);
    ASSERT_EQ(g_DisplayMode.ChangeDisplayMode(1), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(g_DisplayMode.ChangeDisplayMode(0), 1);
    ExpectDesktop();
}

} // namespace
