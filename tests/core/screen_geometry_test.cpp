// Screen geometry over made-up desktops of several monitors: which monitor a window goes to,
// the scale a title screen gets in a work area, and where a scaled game lies on its monitor.
#include "screen/screen_geometry.h"

#include <gtest/gtest.h>

namespace {

// A 1920x1080 monitor at 144 DPI on the left (task bar of 40 pixels at the bottom), a
// 3840x2160 one at 192 DPI to its right and a 1280x1024 one at 96 DPI above the first.
const MonitorDesc kMonitors[] = {
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144, "\\\\.\\DISPLAY1"},
    {{1920, 0, 5760, 2160}, {1920, 0, 5760, 2160}, 192, "\\\\.\\DISPLAY2"},
    {{0, -1024, 1280, 0}, {0, -1024, 1280, 0}, 96, "\\\\.\\DISPLAY3"},
};

TEST(ScreenGeometry, MonitorChoice) {
    const struct {
        int x, y;
        int expected;
    } points[] = {
        {0, 0, 0},       {1919, 1079, 0}, {1920, 0, 1}, {5759, 2159, 1},
        {100, -1, 2},    {1500, -10, 0}, // beside the third, but nearer to the first
        {-50, 500, 0},   {9000, 100, 1}, // off every monitor: the nearest
        {1000, 1500, 0},                 // below the first, nearer to it than to the second
    };
    for (const auto& p : points)
        EXPECT_EQ(MonitorAtPoint(kMonitors, 3, p.x, p.y), p.expected) << p.x << "," << p.y;
    // A window straddling two monitors belongs to the one holding most of it.
    EXPECT_EQ(MonitorOfRect(kMonitors, 3, {1700, 100, 2300, 500}), 1);
    EXPECT_EQ(MonitorOfRect(kMonitors, 3, {1500, 100, 2000, 500}), 0);
    EXPECT_EQ(MonitorOfRect(kMonitors, 3, {100, -600, 400, 300}), 2);
    EXPECT_EQ(MonitorOfRect(kMonitors, 3, {-900, 10, -800, 20}), 0);
    EXPECT_EQ(MonitorAtPoint(kMonitors, 0, 0, 0), -1);
}

TEST(ScreenGeometry, ScaleAndLetterbox) {
    // A 640x480 title screen with a frame of 6 x 29 pixels around it on each monitor: its DPI's
    // scale, or less where the work area is smaller.
    const struct {
        int monitor;
        int width, height;
        int scaledWidth, scaledHeight;
    } titles[] = {
        {0, 640, 480, 960, 720},   // 150 %
        {1, 640, 480, 1280, 960},  // 200 %
        {2, 640, 480, 640, 480},   // 100 %
        {0, 800, 800, 1011, 1011}, // 150 % is 1200 high; the work area leaves 1011
        {2, 1400, 600, 1274, 546}, // larger than its monitor at 100 %: shrunk to its width
    };
    for (const auto& t : titles) {
        const MonitorDesc& m = kMonitors[t.monitor];
        double s = FitScale(t.width, t.height, 6, 29, m.work, DpiScale(m.dpi));
        EXPECT_EQ(ScaleLength(t.width, s), t.scaledWidth) << t.monitor << " " << t.width;
        EXPECT_EQ(ScaleLength(t.height, s), t.scaledHeight) << t.monitor << " " << t.width;
    }
    int x, y;
    CentreIn(kMonitors[1].work, 1280, 960, x, y);
    EXPECT_EQ(x, 1920 + 1280);
    EXPECT_EQ(y, 600);

    // Games scaled onto a monitor, with the browser's zoom.
    const struct {
        int width, height, screenWidth, screenHeight;
        FullScreenWay way;
        ScreenRect picture;
        int zoom;
    } games[] = {
        {640, 480, 1280, 720, FullScreenWay::Fit, {160, 0, 1120, 720}, 150},
        {640, 480, 1280, 720, FullScreenWay::Integer, {320, 120, 960, 600}, 100},
        {640, 480, 1920, 1080, FullScreenWay::Integer, {320, 60, 1600, 1020}, 200},
        {800, 600, 3840, 2160, FullScreenWay::Integer, {720, 180, 3120, 1980}, 300},
        {320, 240, 1920, 1600, FullScreenWay::Fit, {0, 80, 1920, 1520}, 600}, // bars above
        {1024, 768, 800, 600, FullScreenWay::Integer, {0, 0, 800, 600}, 78},  // even 1 too large
        {1000, 300, 1280, 720, FullScreenWay::Fit, {0, 168, 1280, 552}, 128},
        {0, 480, 1280, 720, FullScreenWay::Fit, {0, 0, 1280, 720}, 100},
    };
    for (const auto& g : games) {
        Letterbox box = LetterboxFor(g.width, g.height, g.screenWidth, g.screenHeight, g.way);
        EXPECT_EQ(box.picture.left, g.picture.left) << g.width << "x" << g.height;
        EXPECT_EQ(box.picture.top, g.picture.top) << g.width << "x" << g.height;
        EXPECT_EQ(box.picture.right, g.picture.right) << g.width << "x" << g.height;
        EXPECT_EQ(box.picture.bottom, g.picture.bottom) << g.width << "x" << g.height;
        EXPECT_EQ(ZoomPercent(box.factor), g.zoom) << g.width << "x" << g.height;
    }
}

TEST(ScreenGeometry, FullScreenWayNames) {
    const struct {
        const char* text;
        bool ok;
        FullScreenWay way;
    } values[] = {{"switch", true, FullScreenWay::Switch},
                  {"FIT", true, FullScreenWay::Fit},
                  {" integer ", true, FullScreenWay::Integer},
                  {"fits", false, {}},
                  {"fit x", false, {}},
                  {"", false, {}},
                  {"integerintegerinteger", false, {}}};
    for (const auto& v : values) {
        FullScreenWay way = FullScreenWay::Switch;
        EXPECT_EQ(ParseFullScreenWay(v.text, way), v.ok) << v.text;
        if (v.ok) {
            EXPECT_EQ(way, v.way) << v.text;
        }
    }
}

} // namespace
