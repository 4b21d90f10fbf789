// The desktop's monitors as the screen geometry reads them: their rectangles, work areas, DPIs
// (the system's DPI where the system gives none per monitor) and display devices, and the one
// a window or the pointer is on.
#pragma once

#include "screen/screen_geometry.h"

#include <windows.h>

// Whether a monitor found is given with its DPI, or with 0 for a caller that asks a window
// instead (WindowDpi): the monitor's DPI costs a library the first time.
enum class MonitorDpiLookup { Ask, Skip };

// The monitor that holds most of a rectangle of the desktop (the nearest when none does).
MonitorDesc MonitorOfScreenRect(const RECT& r);
// The monitor that holds most of the window; without a window, the one under the pointer.
MonitorDesc MonitorOfWindow(HWND hWnd);
// The monitor under the pointer (where the player just started the program or clicked).
MonitorDesc MonitorAtPointer(MonitorDpiLookup lookup = MonitorDpiLookup::Ask);

// The system's DPI: that of the primary monitor when the session began.
int SystemDpi();
// The DPI that the system scales the window by: its monitor's, for this per-monitor aware
// program.
int WindowDpi(HWND hWnd);

// Makes the process per-monitor DPI aware (version 2) where its manifest's declaration did not
// take effect and the system can do it at run time (Windows 10 1703 and later); nothing
// otherwise. Call before the first window.
void EnsureDpiAwareness();
