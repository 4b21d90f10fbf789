// Screen geometry that needs no Windows: which monitor a window goes to, the scale of a
// monitor's DPI, the largest scale at which a picture fits an area, and where a game scaled to
// a full screen lies with its bars around it.
#pragma once

#include <cstddef>

// A rectangle in screen pixels; right and bottom are exclusive, as for Win32 RECT.
struct ScreenRect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// One monitor as the system describes it: its rectangle on the desktop, its work area (without
// the task bar), its DPI and the name of its display device.
struct MonitorDesc {
    ScreenRect area;
    ScreenRect work;
    int dpi;
    char device[32];
};

// The DPI of a scale of 1.
constexpr int kBaseDpi = 96;

// How a full-screen game gets its screen: a display-mode switch (the default), or the
// monitor as it is with the game scaled by the largest factor that keeps its aspect ratio
// (fit) or by the largest whole factor (integer).
enum class FullScreenWay { Switch, Fit, Integer };

// The configuration's names of the ways, in the enumeration's order.
constexpr const char* kFullScreenWayNames[] = {"switch", "fit", "integer"};
constexpr std::size_t kFullScreenWayCount = 3;

// The way a value names (any case, blanks around it allowed); false for any other text.
bool ParseFullScreenWay(const char* text, FullScreenWay& way);

// The monitor that holds the point, else the one nearest to it; -1 when there is none.
int MonitorAtPoint(const MonitorDesc* monitors, int count, int x, int y);
// The monitor that holds most of the rectangle, else the one nearest to its centre.
int MonitorOfRect(const MonitorDesc* monitors, int count, const ScreenRect& rect);

// The scale of a DPI (DPI / 96); 1 for a DPI the system did not give.
double DpiScale(int dpi);
// A length at a scale, rounded to the nearest pixel.
int ScaleLength(int length, double scale);
// The largest scale up to wanted at which content of width x height, with a frame of
// frameWidth x frameHeight around it that does not scale, fits the area. Never more than
// wanted; a tiny area gives a tiny scale, but never 0 or less.
double FitScale(int width, int height, int frameWidth, int frameHeight, const ScreenRect& area,
                double wanted);

// A window of width x height centred in an area (left and top, in the area's coordinates).
void CentreIn(const ScreenRect& area, int width, int height, int& x, int& y);

// A game screen of width x height scaled onto a screen of screenWidth x screenHeight: the factor
// and where the scaled picture lies on that screen, centred.
struct Letterbox {
    double factor;
    ScreenRect picture;
};
// Switch and fit take the largest factor that keeps the aspect ratio; integer the largest
// whole factor, or the fit where even 1 is too large. A picture without size fills the screen.
Letterbox LetterboxFor(int width, int height, int screenWidth, int screenHeight, FullScreenWay way);
// A factor as the browser's zoom percentage.
int ZoomPercent(double factor);
