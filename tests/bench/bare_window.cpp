// The yardstick of the start-up benchmark: the least a Windows program does to show a window.
// It registers one class, shows one window and runs its message loop until the window closes.
#include <windows.h>

namespace {

LRESULT CALLBACK BareProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nShowCmd) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "BareWindow";
    if (!RegisterClassA(&wc))
        return 1;
    HWND hwnd = CreateWindowExA(0, "BareWindow", "Bare window", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                100, 100, 640, 480, nullptr, nullptr, hInstance, nullptr);
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, nShowCmd);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
