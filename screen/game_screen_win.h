// Window procedures of the game screen's windows: the background, the logo and the close
// button.
#pragma once

#include <windows.h>

LRESULT CALLBACK ClientHostWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK LoadLogoWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CloseBtnWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam);
