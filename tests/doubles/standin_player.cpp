// The stand-in for a substitute player (and for the program the shell opens web addresses
// with): it appends to the journal named by TOVAK_DOUBLE_JOURNAL how it was started (its wide
// command line and folder, in UTF-8), shows a
// magenta window of class TovakStandInPlayer, and ends with exit code 0 on any key or when its
// window is told to close. Started with --keys, it journals every key down and up it receives
// ("key down VK", "key up VK") and ends only when told to close.
#include "doubles/doubles.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Journal(const char* line) {
    const char* path = std::getenv(TOVAK_DOUBLE_JOURNAL_ENV);
    if (std::FILE* file = path ? std::fopen(path, "ab") : nullptr) {
        std::fprintf(file, "player %s\r\n", line);
        std::fclose(file);
    }
}

bool g_bJournalKeys = false;

LRESULT CALLBACK PlayerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_bJournalKeys && (msg == WM_KEYDOWN || msg == WM_KEYUP)) {
        char line[32];
        std::snprintf(line, sizeof line, "key %s %u", msg == WM_KEYDOWN ? "down" : "up",
                      static_cast<unsigned>(wParam));
        Journal(line);
    } else if (msg == WM_KEYDOWN) {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    } else if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

// Wide text as UTF-8: the journal shows the command line and folder as they arrived, in any
// script.
std::string Utf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? static_cast<std::size_t>(size) : 1u, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], size, nullptr, nullptr);
    return result.c_str();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int nShowCmd) {
    Journal(("command " + Utf8(GetCommandLineW())).c_str());
    wchar_t folder[MAX_PATH * 2] = L"";
    GetCurrentDirectoryW(MAX_PATH * 2, folder);
    char line[64];
    std::snprintf(line, sizeof line, " at %dx%d", GetSystemMetrics(SM_CXSCREEN),
                  GetSystemMetrics(SM_CYSCREEN));
    Journal(("in " + Utf8(folder) + line).c_str());
    g_bJournalKeys = std::strstr(GetCommandLineA(), " --keys") != nullptr;

    WNDCLASSA wc{};
    wc.lpfnWndProc = PlayerProc;
    wc.hInstance = instance;
    wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
    wc.lpszClassName = TOVAK_STANDIN_PLAYER_CLASS;
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Stand-in player", WS_OVERLAPPEDWINDOW, 0, 0,
                                  400, 300, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, nShowCmd);
    SetForegroundWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
