// Game-screen records and the process's table of them.
#pragma once

#include "host/client_host_win.h"
#include "screen/browser_table.h"
#include "screen/game_screen.h"
#include "screen/game_session.h"

#include <windows.h>

#include <memory>

class CBrowserFuncs {
  public:
    CBrowserFuncs();
    ~CBrowserFuncs();
    CBrowserFuncs(const CBrowserFuncs&) = delete;
    CBrowserFuncs& operator=(const CBrowserFuncs&) = delete;

    // Opens the game screen in the given session: the session takes the screen, then the
    // background window, the logo window, the host's control and the close button are made,
    // and the cursor is hidden when asked. 1 when the screen is open; 0 after a failure (with
    // its box where the user must see it). The record owns the session from now on; the
    // options give it its close-on-event flag before any window exists. hParentWnd owns the
    // game screen.
    int OpenBrowser(const GameScreenOptions& options, std::unique_ptr<CGameSession> session,
                    HWND hParentWnd);
    // Loads the page or movie into the host; the host's result.
    int OpenUrl(const char* name);
    // Ends the session (which gives back the display, the controllers and the cursor, and
    // tells the menu) and closes the host. Always 1.
    int CloseBrowser();
    // CloseBrowser between its markers. Always 1.
    int RemoveBrowser();

    // Makes hWnd this record's background window: its messages come to this record.
    void BindWindow(HWND hWnd);
    // The record bound to a background window, or null.
    static CBrowserFuncs* FromWindow(HWND hWnd);
    // The background window's messages.
    LRESULT HandleMessage(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam);

    int bClosed = 0;
    int bCloseOnEvent = 0;
    int bCustomVarSent = 0;
    unsigned int clrScreenBg = 0;
    // What the running game holds of the desktop; gone once the game has ended.
    std::unique_ptr<CGameSession> session;
    CClientHost host;
    HWND hBkWnd = nullptr;

  private:
    void OnForeground(bool bInFront);
    void OnDestroy(HWND hWindow);
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
