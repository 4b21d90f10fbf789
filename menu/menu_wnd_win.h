// Menu objects and the window base class through which menu windows get their messages.
#pragma once

#include "image/gif.h"
#include "menu/menu_config.h"

#include <windows.h>

class CWinFuncs {
  public:
    CWinFuncs();
    virtual ~CWinFuncs() = default;
    CWinFuncs(const CWinFuncs&) = delete;
    CWinFuncs& operator=(const CWinFuncs&) = delete;

    // Default handling: WM_DESTROY marks the object destroyed, WM_CLOSE destroys the window;
    // every message then goes to DefWindowProcA.
    virtual LRESULT HandleWinProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hWnd = nullptr;
    int bDestroyed = 0;
};

class CMenuWnd : public CWinFuncs, public CMenuModel {
  public:
    CMenuWnd();

    // Makes a menu object, loads the section and runs it. 1 on success; the object is stored
    // in *ppMenu then.
    static int LoadAndRunMenu(HWND hParent, int nShowCmd, const char* section, CMenuWnd** ppMenu);
    // Reads the section into the model and loads its title image; 0 after an error box.
    int LoadMenu(const char* section);
    int RunMenu(HWND hParent, int nShowCmd);

    CGifImage imgTitle;
    int nFocus = 0;
    int nTicks = 0;
    HWND hMenuWnd = nullptr;
};

LRESULT CALLBACK WinFuncsWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam);
