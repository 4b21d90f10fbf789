#include "screen/game_screen_win.h"

// The game screen's windows do not act on any message yet; their classes are registered at
// start-up so that the program's window classes are complete.
LRESULT CALLBACK ClientHostWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWindow, msg, wParam, lParam);
}

LRESULT CALLBACK LoadLogoWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWindow, msg, wParam, lParam);
}

LRESULT CALLBACK CloseBtnWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWindow, msg, wParam, lParam);
}
