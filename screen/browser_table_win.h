// Game-screen records and the process's table of them.
#pragma once

#include "host/client_host_win.h"
#include "screen/browser_table.h"
#include "screen/game_screen.h"

#include <windows.h>

class CBrowserFuncs {
  public:
    CBrowserFuncs();
    ~CBrowserFuncs();
    CBrowserFuncs(const CBrowserFuncs&) = delete;
    CBrowserFuncs& operator=(const CBrowserFuncs&) = delete;

    // Opens the game screen: switches the display mode, makes the background window, the logo
    // window, the host's control and the close button, and hides the cursor when asked. 1 when
    // the screen is open; 0 after a failure (with its box where the user must see it).
    // The options also give the record its close kind and close-on-event flag, before any
    // window exists. hParentWnd owns the game screen and hears when it closes (none: the
    // program ends instead).
    int OpenBrowser(const GameScreenOptions& options, HWND hParentWnd);
    // Loads the page or movie into the host; the host's result.
    int OpenUrl(const char* name);
    // Restores the display mode if this record changed it, closes the host, and shows the
    // cursor once if this record hid it. Always 1.
    int CloseBrowser();
    // CloseBrowser between its markers. Always 1.
    int RemoveBrowser();

    int bDisplayChanged = 0;
    int bClosed = 0;
    int bCloseOnEvent = 0;
    int bShowCursor = 1;
    int bCustomVarSent = 0;
    int nCloseKind = kCloseToMenu;
    unsigned int clrScreenBg = 0;
    CClientHost host;
    HWND hBkWnd = nullptr;
};

using CBrowserTable = CRecordTable<CBrowserFuncs>;
// The process's table (defined with the other process-wide objects, after the display-mode
// switcher, so that records still restore the display when the table is emptied at the end).
extern CBrowserTable g_BrowserTable;

// A new record, or null after the box "Too many browser windows already open".
CBrowserFuncs* AddBrowser();
// Deletes the record if it is in the table.
void DeleteBrowser(CBrowserFuncs* record);
// The first record whose background window is hWnd, or null.
CBrowserFuncs* FindBrowser(HWND hWnd);
// Deletes every record, the last first.
void DeleteAllBrowsers();
