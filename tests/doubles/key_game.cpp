// A game that journals the keys it receives: "key down VK" and "key up VK" lines appended to
// the file named by TOVAK_DOUBLE_JOURNAL. It shows a window of class TovakKeyGame and ends when
// that window is told to close.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

void Journal(const char* what, WPARAM vk) {
    const char* path = std::getenv("TOVAK_DOUBLE_JOURNAL");
    if (!path)
        return;
    if (std::FILE* file = std::fopen(path, "ab")) {
        std::fprintf(file, "key %s %u\r\n", what, static_cast<unsigned>(vk));
        std::fclose(file);
    }
}

LRESULT CALLBACK GameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Journal("down", wParam);
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        Journal("up", wParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int nShowCmd) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = GameProc;
    wc.hInstance = instance;
    wc.hbrBackground = CreateSolidBrush(RGB(0, 128, 0));
    wc.lpszClassName = "TovakKeyGame";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Key game", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                                  300, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, nShowCmd);
    SetForegroundWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
