// The display-mode switcher over made-up mode lists.
#include "base/diag.h"
#include "screen/display_mode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Mode {
    std::uint32_t width, height, depth, rate;
};

class FakeDevice : public IDisplayDevice {
  public:
    int EnumSettings(std::uint32_t modeNum, DisplaySettings& mode) override {
        EXPECT_EQ(mode.dmSize, 148);
        if (modeNum == kEnumCurrentSettings) {
            ++currentReads;
            if (failCurrent)
                return 0;
            Fill(mode, current);
            mode.dmDisplayFlags = 0x1234; // a field the switcher must carry along unchanged
            return 1;
        }
        if (modeNum >= modes.size())
            return 0;
        Fill(mode, modes[modeNum]);
        return 1;
    }

    long ChangeSettings(const DisplaySettings& mode) override {
        EXPECT_EQ(mode.dmSize, 148);
        applied.push_back(mode);
        return changeResult;
    }

    static void Fill(DisplaySettings& mode, const Mode& m) {
        mode.dmFields = kDmBitsPerPel | kDmPelsWidth | kDmPelsHeight | kDmDisplayFrequency;
        mode.dmPelsWidth = m.width;
        mode.dmPelsHeight = m.height;
        mode.dmBitsPerPel = m.depth;
        mode.dmDisplayFrequency = m.rate;
    }

    std::vector<Mode> modes;
    Mode current{1024, 768, 32, 60};
    bool failCurrent = false;
    long changeResult = kDispChangeSuccessful;
    int currentReads = 0;
    std::vector<DisplaySettings> applied;
};

class DisplayModeTest : public testing::Test {
  protected:
    FakeDevice device;
    CDisplayMode display{&device};

    // The mode FindDisplayMode picks, as "WxH@R/D", or "none".
    std::string Found(int width, int height, int depth) {
        DisplaySettings mode{};
        if (!display.FindDisplayMode(width, height, depth, mode))
            return "none";
        return std::to_string(mode.dmPelsWidth) + "x" + std::to_string(mode.dmPelsHeight) + "@" +
               std::to_string(mode.dmDisplayFrequency) + "/" + std::to_string(mode.dmBitsPerPel);
    }
};

TEST_F(DisplayModeTest, GreedyPassTakesNoLargerModeWithNoLowerRefreshRate) {
    device.modes = {{800, 600, 32, 60}, {640, 480, 32, 60}};
    EXPECT_EQ(Found(640, 480, 32), "640x480@60/32");

    device.modes = {{800, 600, 32, 75}, {640, 480, 32, 60}};
    EXPECT_EQ(Found(640, 480, 32), "800x600@75/32");

    // A smaller mode listed after a larger one with a higher rate is not taken; the pass is
    // greedy, not a search for the smallest fitting mode.
    device.modes = {{1024, 768, 32, 70}, {800, 600, 32, 60}, {640, 480, 32, 72}};
    EXPECT_EQ(Found(640, 480, 32), "640x480@72/32");

    // Ties go to the later mode; width and height must both not grow.
    device.modes = {{640, 480, 32, 60}, {1024, 400, 32, 60}, {640, 480, 32, 60}};
    DisplaySettings mode{};
    ASSERT_TRUE(display.FindDisplayMode(640, 400, 32, mode));
    EXPECT_EQ(mode.dmPelsWidth, 640u);
}

TEST_F(DisplayModeTest, DepthSizeAndRateLimits) {
    device.modes = {{800, 600, 32, 85}, {1024, 768, 32, 100}};
    EXPECT_EQ(Found(640, 480, 32), "none");

    device.modes = {{800, 600, 16, 60}, {1024, 768, 32, 60}, {640, 480, 32, 0}};
    // The smaller 0 Hz mode comes after a 60 Hz one: a lower rate never replaces the best.
    EXPECT_EQ(Found(640, 480, 32), "1024x768@60/32");
    EXPECT_EQ(Found(800, 600, 32), "1024x768@60/32");
    EXPECT_EQ(Found(1280, 1024, 32), "none");
    EXPECT_EQ(Found(640, 480, 24), "none");
    // 0x0 lets every mode of the depth through the size test.
    device.modes = {{1024, 768, 32, 60}, {640, 480, 32, 60}, {320, 200, 16, 60}};
    EXPECT_EQ(Found(0, 0, 32), "640x480@60/32");
    // Negative sizes compare as huge unsigned numbers.
    EXPECT_EQ(Found(-1, 480, 32), "none");
    EXPECT_EQ(Found(640, -480, 32), "none");
}

TEST_F(DisplayModeTest, ResolutionChangeChoosesGameModeWithFallbackTo16Bits) {
    device.modes = {{800, 600, 16, 60}, {1024, 768, 32, 60}};
    ASSERT_EQ(display.CalcDisplayMode(1, 640, 480, 24), 1);
    EXPECT_EQ(display.bModeChosen, 1);
    EXPECT_EQ(display.dmGame.dmSize, 148);
    EXPECT_EQ(display.dmGame.dmFields, 0x5C0000u);
    EXPECT_EQ(display.dmGame.dmBitsPerPel, 16u);
    EXPECT_EQ(display.dmGame.dmPelsWidth, 800u);
    EXPECT_EQ(display.dmGame.dmPelsHeight, 600u);
    EXPECT_EQ(display.dmGame.dmDisplayFrequency, 60u);
    EXPECT_EQ(display.dmGame.dmDisplayFlags, 0u);

    // The desktop's own mode is chosen too.
    ASSERT_EQ(display.CalcDisplayMode(1, 1024, 768, 32), 1);
    EXPECT_EQ(display.bModeChosen, 1);
    EXPECT_EQ(display.dmGame.dmPelsWidth, 1024u);

    // Nothing at 16 bits when 16 bits were asked for: no second search, result 0.
    device.modes = {{800, 600, 32, 60}};
    EXPECT_EQ(display.CalcDisplayMode(1, 640, 480, 16), 0);
    EXPECT_EQ(display.bModeChosen, 0);
    EXPECT_EQ(display.ChangeDisplayMode(1), 0);
    EXPECT_TRUE(device.applied.empty());
}

TEST_F(DisplayModeTest, KeptResolutionChangesOnlyTheDepthWithoutFallback) {
    device.modes = {{800, 600, 16, 60}, {1024, 768, 32, 60}};
    device.current = {1024, 768, 32, 60};

    // 24 bits exist nowhere: no fallback, but still success and nothing to switch.
    EXPECT_EQ(display.CalcDisplayMode(0, 640, 480, 24), 1);
    EXPECT_EQ(display.bModeChosen, 0);

    // The desktop's own depth: nothing to change.
    EXPECT_EQ(display.CalcDisplayMode(0, 640, 480, 32), 1);
    EXPECT_EQ(display.bModeChosen, 0);
    EXPECT_EQ(display.ChangeDisplayMode(1), 0);
    EXPECT_TRUE(device.applied.empty());

    // 16 bits exist at a size no smaller than asked: only the depth is set.
    EXPECT_EQ(display.CalcDisplayMode(0, 640, 480, 16), 1);
    EXPECT_EQ(display.bModeChosen, 1);
    EXPECT_EQ(display.dmGame.dmFields, 0x40000u);
    EXPECT_EQ(display.dmGame.dmBitsPerPel, 16u);
    EXPECT_EQ(display.dmGame.dmPelsWidth, 0u);
    EXPECT_EQ(display.ChangeDisplayMode(1), 1);
    ASSERT_EQ(device.applied.size(), 1u);
    EXPECT_EQ(device.applied[0].dmFields, 0x40000u);

    // The 16-bit mode must be large enough even though its size is not used.
    EXPECT_EQ(display.CalcDisplayMode(0, 1024, 768, 16), 1);
    EXPECT_EQ(display.bModeChosen, 0);
}

TEST_F(DisplayModeTest, DesktopModeIsReadOnceAndRestored) {
    device.modes = {{640, 480, 16, 60}};
    device.failCurrent = true;
    EXPECT_EQ(display.CalcDisplayMode(1, 640, 480, 16), 0);
    EXPECT_EQ(display.bDesktopSaved, 0);
    EXPECT_EQ(display.bModeChosen, 0);

    // The failed reading is tried again by the next calculation.
    device.failCurrent = false;
    EXPECT_EQ(display.CalcDisplayMode(1, 640, 480, 16), 1);
    EXPECT_EQ(display.bDesktopSaved, 1);
    EXPECT_EQ(device.currentReads, 2);

    // Later changes of the desktop by other means are not seen: it was read once.
    device.current = {800, 600, 8, 60};
    EXPECT_EQ(display.CalcDisplayMode(1, 640, 480, 16), 1);
    EXPECT_EQ(device.currentReads, 2);

    EXPECT_EQ(display.ChangeDisplayMode(1), 1);
    EXPECT_EQ(display.ChangeDisplayMode(0), 1);
    ASSERT_EQ(device.applied.size(), 2u);
    EXPECT_EQ(device.applied[1].dmPelsWidth, 1024u);
    EXPECT_EQ(device.applied[1].dmBitsPerPel, 32u);
    EXPECT_EQ(device.applied[1].dmDisplayFlags, 0x1234u); // the whole record comes back
}

TEST_F(DisplayModeTest, AModeIsTakenAndGivenBackOnTheDeviceChosenForIt) {
    auto name = [](const DisplaySettings& mode) {
        const char* p = reinterpret_cast<const char*>(mode.dmDeviceName);
        return std::string(p, strnlen(p, sizeof mode.dmDeviceName));
    };
    device.modes = {{640, 480, 32, 60}};
    display.UseDevice("\\\\.\\DISPLAY2");
    ASSERT_EQ(display.CalcDisplayMode(1, 640, 480, 32), 1);
    ASSERT_EQ(display.ChangeDisplayMode(1), 1);
    // Another monitor chosen while the game's mode is on: the mode goes back where it was taken.
    display.UseDevice("\\\\.\\DISPLAY1");
    ASSERT_EQ(display.ChangeDisplayMode(0), 1);
    // The next game on the other monitor reads that monitor's desktop mode first.
    display.UseDevice("\\\\.\\DISPLAY1");
    ASSERT_EQ(display.CalcDisplayMode(1, 640, 480, 32), 1);
    ASSERT_EQ(display.ChangeDisplayMode(1), 1);
    ASSERT_EQ(device.applied.size(), 3u);
    EXPECT_EQ(name(device.applied[0]), "\\\\.\\DISPLAY2");
    EXPECT_EQ(name(device.applied[1]), "\\\\.\\DISPLAY2");
    EXPECT_EQ(name(device.applied[2]), "\\\\.\\DISPLAY1");
    EXPECT_EQ(device.currentReads, 2);
}

TEST_F(DisplayModeTest, RepeatedSwitchesChangeTheDisplayOncePerDirection) {
    device.modes = {{640, 480, 16, 60}};
    ASSERT_EQ(display.CalcDisplayMode(1, 640, 480, 16), 1);
    EXPECT_EQ(display.ChangeDisplayMode(0), 1); // nothing to undo yet
    EXPECT_TRUE(device.applied.empty());
    EXPECT_EQ(display.ChangeDisplayMode(1), 1);
    EXPECT_EQ(display.ChangeDisplayMode(1), 1);
    EXPECT_EQ(device.applied.size(), 1u);
    EXPECT_EQ(display.ChangeDisplayMode(0), 1);
    EXPECT_EQ(display.ChangeDisplayMode(0), 1);
    EXPECT_EQ(device.applied.size(), 2u);
    EXPECT_EQ(display.ChangeDisplayMode(1), 1);
    EXPECT_EQ(device.applied.size(), 3u);

    // A new calculation while the game mode is active does not reapply it.
    device.modes = {{800, 600, 32, 60}};
    ASSERT_EQ(display.CalcDisplayMode(1, 800, 600, 32), 1);
    EXPECT_EQ(display.ChangeDisplayMode(1), 1);
    EXPECT_EQ(device.applied.size(), 3u);
}

TEST_F(DisplayModeTest, FailedChangeStillFlipsTheFlag) {
    device.modes = {{640, 480, 16, 60}};
    ASSERT_EQ(display.CalcDisplayMode(1, 640, 480, 16), 1);
    device.changeResult = -2;
    EXPECT_EQ(display.ChangeDisplayMode(1), 0);
    EXPECT_EQ(display.bGameModeActive, 1);
    EXPECT_EQ(display.ChangeDisplayMode(1), 1); // not retried
    EXPECT_EQ(device.applied.size(), 1u);
    EXPECT_EQ(display.ChangeDisplayMode(0), 0);
    EXPECT_EQ(display.bGameModeActive, 0);
    EXPECT_EQ(device.applied.size(), 2u);
}

TEST_F(DisplayModeTest, MarkersFollowTheSteps) {
    std::string path = testing::TempDir() + "display_mode_markers.txt";
    std::remove(path.c_str());
    ASSERT_TRUE(CopyText(g_szLogFile, sizeof g_szLogFile, path.c_str()));
    g_bLogEnabled = 1;
    g_bLogVersionWritten = 1; // only the steps' markers
    device.modes = {{640, 480, 16, 60}};
    device.failCurrent = true;
    display.CalcDisplayMode(1, 640, 480, 16); // at1 only
    device.failCurrent = false;
    display.CalcDisplayMode(1, 2000, 200, 8); // no mode: at1 only
    display.CalcDisplayMode(1, 640, 480, 16);
    display.ChangeDisplayMode(1);
    display.ChangeDisplayMode(1); // already active: at1, at2
    g_bLogEnabled = 0;
    g_bLogVersionWritten = 0;

    std::ifstream log(path);
    std::vector<std::string> markers;
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        markers.push_back(line.substr(line.find(" - ") + 3));
    }
    std::vector<std::string> expected = {
        "CalcDisplayMode at1",   "CalcDisplayMode at1",   "CalcDisplayMode at1",
        "CalcDisplayMode at2",   "ChangeDisplayMode at1", "ChangeDisplayMode at2",
        "ChangeDisplayMode at3", "ChangeDisplayMode at1", "ChangeDisplayMode at2"};
    EXPECT_EQ(markers, expected);
    std::remove(path.c_str());
}

} // namespace
