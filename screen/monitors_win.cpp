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

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

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

struct MonitorList {
    MonitorDesc monitors[kMaxMonitors];
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
    MonitorDesc& m = list->monitors[list->count++];
    m.area = FromRect(info.rcMonitor);
    m.work = FromRect(info.rcWork);
    m.dpi = MonitorDpi(monitor);
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

} // namespace

MonitorDesc MonitorAtPointer() {
    MonitorList list = ListMonitors();
    POINT at{0, 0};
    GetCursorPos(&at);
    int i = MonitorAtPoint(list.monitors, list.count, at.x, at.y);
    return i >= 0 ? list.monitors[i] : WholeDesktop();
}

MonitorDesc MonitorOfScreenRect(const RECT& r) {
    MonitorList list = ListMonitors();
    int i = MonitorOfRect(list.monitors, list.count, FromRect(r));
    return i >= 0 ? list.monitors[i] : WholeDesktop();
}

MonitorDesc MonitorOfWindow(HWND hWnd) {
    RECT r;
    if (!hWnd || !GetWindowRect(hWnd, &r))
        return MonitorAtPointer();
    return MonitorOfScreenRect(r);
}

void EnsureDpiAwareness() {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    if (!user)
        return;
    using GetContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using EqualFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT);
    using SetContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    auto get = reinterpret_cast<GetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetThreadDpiAwarenessContext")));
    auto equal = reinterpret_cast<EqualFn>(
        reinterpret_cast<void*>(GetProcAddress(user, "AreDpiAwarenessContextsEqual")));
    auto set = reinterpret_cast<SetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
    if (!get || !equal || !set)
        return;
    // Declared by the manifest already: setting it again would fail and change nothing.
    if (!equal(get(), DPI_AWARENESS_CONTEXT_UNAWARE))
        return;
    set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2); // Wine 8 refuses it, harmlessly
}
