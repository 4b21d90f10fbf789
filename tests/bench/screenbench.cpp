// Full-screen benchmark, run inside a Wine virtual desktop: tovak.exe on a folder whose title
// screen has two full-screen selections of one 640 x 480 page, one by a display-mode switch and
// one fitted to the desktop. Each round clicks a selection and measures the time from the
// click to the game's first pixels on screen (the page's white at a point of its game area
// that the logo does not cover), then closes the game screen and waits for the menu.
// Usage: screenbench N FOLDER EXE
#include "bench_clock.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using benchutil::Now;

HWND WaitWindow(DWORD pid, const char* className, DWORD ms) {
    DWORD start = GetTickCount();
    do {
        if (HWND found = benchutil::FindVisibleWindow(pid, className))
            return found;
        Sleep(5);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

// Clicks a point of the title screen's client area and times the first white pixel at (x, y)
// of the screen; -1 after 20 s.
double TimeToFirstPixels(HWND menu, int cx, int cy, int x, int y) {
    double t0 = Now();
    PostMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cx, cy));
    PostMessageA(menu, WM_LBUTTONUP, 0, MAKELPARAM(cx, cy));
    while (Now() - t0 < 20000) {
        if (ScreenPixel(x, y) == RGB(255, 255, 255))
            return Now() - t0;
        Sleep(1);
    }
    return -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: screenbench N FOLDER EXE\n");
        return 2;
    }
    int rounds = std::atoi(argv[1]);
    std::string folder = argv[2], exe = argv[3];
    PROCESS_INFORMATION pi = benchutil::StartProgram(exe, folder);
    if (!pi.hProcess)
        return 1;
    HWND menu = WaitWindow(pi.dwProcessId, "WinFuncs", 20000);
    if (!menu) {
        std::fprintf(stderr, "no title screen\n");
        return 1;
    }
    Sleep(1000);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    // Selection 1 (switch): the whole 640 x 480 screen is the page; selection 2 (fit): the page
    // is scaled between bars, its left edge at (width - 640 * height / 480) / 2.
    struct Way {
        const char* name;
        int clickY;
        int x, y;
        std::vector<double> times;
    } ways[] = {{"switch", 25, 10, 10, {}},
                {"fit", 65, (width - 640 * height / 480) / 2 + 10, 10, {}}};
    for (int round = 0; round <= rounds; ++round) {
        for (Way& way : ways) {
            double ms = TimeToFirstPixels(menu, 100, way.clickY, way.x, way.y);
            HWND bk = WaitWindow(pi.dwProcessId, "BkGrndWnd", 5000);
            if (ms < 0 || !bk) {
                std::fprintf(stderr, "%s: no game screen\n", way.name);
                TerminateProcess(pi.hProcess, 1);
                return 1;
            }
            if (round > 0) // the first round warms up
                way.times.push_back(ms);
            PostMessageA(bk, WM_CLOSE, 0, 0);
            DWORD start = GetTickCount();
            while ((IsWindow(bk) || !IsWindowEnabled(menu) ||
                    GetSystemMetrics(SM_CXSCREEN) != width) &&
                   GetTickCount() - start < 20000)
                Sleep(10);
            Sleep(500);
        }
    }
    for (const Way& way : ways) {
        std::printf("%-6s click to first pixels: median %.0f ms (min %.0f, max %.0f, n=%zu)\n",
                    way.name, Median(way.times),
                    *std::min_element(way.times.begin(), way.times.end()),
                    *std::max_element(way.times.begin(), way.times.end()), way.times.size());
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    return 0;
}
