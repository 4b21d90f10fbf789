// The stand-in for a substitute player (and for the program the shell opens web addresses
// with): it appends to the journal named by TOVAK_DOUBLE_JOURNAL how it was started (its
// command line, its current folder and the screen's size), shows a window of class
// TovakStandInPlayer filled in magenta, and ends with exit code 0 on any key or when its window
// is told to close.
#include "doubles/doubles.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

void Journal(const char* what, const char* text) {
    const char* path = std::getenv(TOVAK_DOUBLE_JOURNAL_ENV);
    if (!path)
        return;
    if (std::FILE* file = std::fopen(path, "ab")) {
        std::fprintf(file, "player %s %s\r\n", what, text);
        std::fclose(file);
    }
}

LRESULT CALLBACK PlayerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYDOWN:
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_DESTROY:
        Journal("ended", "");
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int nShowCmd) {
    Journal("command", GetCommandLineA());
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    Journal("folder", folder);
    char screen[32];
    std::snprintf(screen, sizeof screen, "%dx%d", GetSystemMetrics(SM_CXSCREEN),
                  GetSystemMetrics(SM_CYSCREEN));
    Journal("screen", screen);

    WNDCLASSA wc{};
    wc.lpfnWndProc = PlayerProc;
    wc.hInstance = instance;
    wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
    wc.lpszClassName = TOVAK_STANDIN_PLAYER_CLASS;
    RegisterClassA(&wc);
    HWND window =
        CreateWindowExA(0, TOVAK_STANDIN_PLAYER_CLASS, "Stand-in player", WS_OVERLAPPEDWINDOW, 0, 0,
                        400, 300, nullptr, nullptr, instance, nullptr);
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
