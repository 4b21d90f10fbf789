#include "screen/monitors_win.h"

#include "base/system_library_win.h"
#include "base/text.h"

namespace {

constexpr int kMaxMonitors = 16;

// GetDpiForMonitor of shcore.dll (Windows 8.1 and later), found at run time.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

GetDpiForMonitorFn DpiForMonitorFunction() {
    static const auto function =
        SystemFunctionAs<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
    return function;
}

// The window system's library: every program with windows has it loaded already. Its DPI
// functions (Windows 10 1607 and later) are found at run time, where older systems lack them.
const wchar_t* const kWindowSystem = L"user32.dll";

} // namespace

int SystemDpi() {
    using GetDpiForSystemFn = UINT(WINAPI*)();
    static const auto function =
        SystemFunctionAs<GetDpiForSystemFn>(kWindowSystem, "GetDpiForSystem");
    if (function) {
        UINT dpi = function();
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

namespace {

int MonitorDpi(HMONITOR monitor) {
    UINT x = 0, y = 0;
    GetDpiForMonitorFn function = DpiForMonitorFunction();
    // MDT_EFFECTIVE_DPI (0): the DPI that scales what a program draws.
    if (function && SUCCEEDED(function(monitor, 0, &x, &y)) && x > 0)
        return static_cast<int>(x);
    return SystemDpi();
}

ScreenRect FromRect(const RECT& r) {
    return ScreenRect{r.left, r.top, r.right, r.bottom};
}

// The monitors with their handles. Their DPIs are not asked here: only the one a caller picks
// needs its DPI, and asking costs a library on first use.
struct MonitorList {
    MonitorDesc monitors[kMaxMonitors];
    HMONITOR handles[kMaxMonitors];
    int count = 0;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MonitorList* list = reinterpret_cast<MonitorList*>(data);
    if (list->count >= kMaxMonitors)
        return FALSE;
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return TRUE;
    list->handles[list->count] = monitor;
    MonitorDesc& m = list->monitors[list->count++];
    m.area = FromRect(info.rcMonitor);
    m.work = FromRect(info.rcWork);
    m.dpi = 0;
    // The system's device names are ASCII.
    std::size_t n = 0;
    for (; n + 1 < sizeof m.device && info.szDevice[n]; ++n)
        m.device[n] = static_cast<char>(info.szDevice[n]);
    m.device[n] = '\0';
    return TRUE;
}

// The desktop as one monitor, where the system lists none.
MonitorDesc WholeDesktop() {
    MonitorDesc m{};
    m.area = ScreenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT work;
    m.work = SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) ? FromRect(work) : m.area;
    m.dpi = SystemDpi();
    return m;
}

MonitorList ListMonitors() {
    MonitorList list;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}

// Monitor i of the list (the whole desktop where none was found), with its DPI if asked for.
MonitorDesc Picked(const MonitorList& list, int i, MonitorDpiLookup lookup) {
    if (i < 0)
        return WholeDesktop();
    MonitorDesc m = list.monitors[i];
    if (lookup == MonitorDpiLookup::Ask)
        m.dpi = MonitorDpi(list.handles[i]);
    return m;
}

} // namespace

MonitorDesc MonitorAtPointer(MonitorDpiLookup lookup) {
    MonitorList list = ListMonitors();
    POINT at{0, 0};
    GetCursorPos(&at);
    return Picked(list, MonitorAtPoint(list.monitors, list.count, at.x, at.y), lookup);
}

MonitorDesc MonitorOfScreenRect(const RECT& r) {
    MonitorList list = ListMonitors();
    return Picked(list, MonitorOfRect(list.monitors, list.count, FromRect(r)),
                  MonitorDpiLookup::Ask);
}

int WindowDpi(HWND hWnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto function =
        SystemFunctionAs<GetDpiForWindowFn>(kWindowSystem, "GetDpiForWindow");
    if (function) {
        UINT dpi = function(hWnd);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return MonitorDpi(MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST));
}

MonitorDesc MonitorOfWindow(HWND hWnd) {
    RECT r;
    if (!hWnd || !GetWindowRect(hWnd, &r))
        return MonitorAtPointer();
    return MonitorOfScreenRect(r);
}

void EnsureDpiAwareness() {
    using GetContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using EqualFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
    using SetContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    auto get = SystemFunctionAs<GetContextFn>(kWindowSystem, "GetThreadDpiAwarenessContext");
    auto equal = SystemFunctionAs<EqualFn>(kWindowSystem, "AreDpiAwarenessContextsEqual");
    auto set = SystemFunctionAs<SetContextFn>(kWindowSystem, "SetProcessDpiAwarenessContext");
    if (!get || !equal || !set)
        return;
    // Declared by the manifest already: setting it again would fail and change nothing.
    if (!equal(get(), DPI_AWARENESS_CONTEXT_UNAWARE))
        return;
    set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2); // Wine 8 refuses it, harmlessly
}
