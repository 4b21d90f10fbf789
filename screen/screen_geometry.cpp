#include "screen/screen_geometry.h"

#include "base/int_range.h"
#include "base/text.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The smallest scale a window is shrunk to, however small its area.
constexpr double kMinScale = 1.0 / 16;

// The distance from a point to a rectangle, squared (0 inside it).
WideInt DistanceSquared(const ScreenRect& r, WideInt x, WideInt y) {
    WideInt dx = x < r.left ? r.left - x : x >= r.right ? x - (WideInt(r.right) - 1) : 0;
    WideInt dy = y < r.top ? r.top - y : y >= r.bottom ? y - (WideInt(r.bottom) - 1) : 0;
    return dx * dx + dy * dy;
}

WideInt Overlap(const ScreenRect& a, const ScreenRect& b) {
    WideInt w = WideInt(std::min(a.right, b.right)) - std::max(a.left, b.left);
    WideInt h = WideInt(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

} // namespace

bool ParseFullScreenWay(const char* text, FullScreenWay& way) {
    const char* begin = text;
    const char* end = text + std::strlen(text);
    TrimBlanks(begin, end, IsSpaceOrTab);
    char word[16];
    std::size_t n = static_cast<std::size_t>(end - begin);
    if (n >= sizeof word)
        return false;
    std::memcpy(word, begin, n);
    word[n] = '\0';
    for (std::size_t i = 0; i < kFullScreenWayCount; ++i) {
        if (EqualsNoCase(word, kFullScreenWayNames[i])) {
            way = static_cast<FullScreenWay>(i);
            return true;
        }
    }
    return false;
}

int MonitorAtPoint(const MonitorDesc* monitors, int count, int x, int y) {
    int best = -1;
    WideInt bestDistance = 0;
    for (int i = 0; i < count; ++i) {
        WideInt d = DistanceSquared(monitors[i].area, x, y);
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

int MonitorOfRect(const MonitorDesc* monitors, int count, const ScreenRect& rect) {
    int best = -1;
    WideInt bestOverlap = 0;
    for (int i = 0; i < count; ++i) {
        WideInt o = Overlap(monitors[i].area, rect);
        if (o > bestOverlap) {
            best = i;
            bestOverlap = o;
        }
    }
    if (best >= 0)
        return best;
    return MonitorAtPoint(monitors, count, SaturatedInt((WideInt(rect.left) + rect.right) / 2),
                          SaturatedInt((WideInt(rect.top) + rect.bottom) / 2));
}

double DpiScale(int dpi) {
    return dpi > 0 ? static_cast<double>(dpi) / kBaseDpi : 1.0;
}

int ScaleLength(int length, double scale) {
    double v = std::floor(static_cast<double>(length) * scale + 0.5);
    return v >= INT_MAX ? INT_MAX : v <= INT_MIN ? INT_MIN : static_cast<int>(v);
}

double FitScale(int width, int height, int frameWidth, int frameHeight, const ScreenRect& area,
                double wanted) {
    double scale = wanted;
    if (width > 0)
        scale = std::min(scale, static_cast<double>(WideInt(area.Width()) - frameWidth) / width);
    if (height > 0)
        scale = std::min(scale, static_cast<double>(WideInt(area.Height()) - frameHeight) / height);
    return std::max(scale, std::min(wanted, kMinScale));
}

void CentreIn(const ScreenRect& area, int width, int height, int& x, int& y) {
    x = SaturatedInt(area.left + (WideInt(area.Width()) - width) / 2);
    y = SaturatedInt(area.top + (WideInt(area.Height()) - height) / 2);
}

Letterbox LetterboxFor(int width, int height, int screenWidth, int screenHeight,
                       FullScreenWay way) {
    if (width <= 0 || height <= 0)
        return Letterbox{1.0, ScreenRect{0, 0, screenWidth, screenHeight}};
    // Width-limited when screenWidth / width <= screenHeight / height.
    bool byWidth = WideInt(screenWidth) * height <= WideInt(screenHeight) * width;
    double factor = byWidth ? static_cast<double>(screenWidth) / width
                            : static_cast<double>(screenHeight) / height;
    int w = byWidth ? screenWidth : ScaleLength(width, factor);
    int h = byWidth ? ScaleLength(height, factor) : screenHeight;
    if (way == FullScreenWay::Integer && factor >= 1) {
        factor = std::floor(factor);
        w = SaturatedInt(WideInt(width) * static_cast<WideInt>(factor));
        h = SaturatedInt(WideInt(height) * static_cast<WideInt>(factor));
    }
    w = std::min(w, screenWidth);
    h = std::min(h, screenHeight);
    int x = SaturatedInt((WideInt(screenWidth) - w) / 2);
    int y = SaturatedInt((WideInt(screenHeight) - h) / 2);
    return Letterbox{factor,
                     ScreenRect{x, y, SaturatedInt(WideInt(x) + w), SaturatedInt(WideInt(y) + h)}};
}

int ZoomPercent(double factor) {
    return ScaleLength(100, factor);
}
