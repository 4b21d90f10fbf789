#include "screen/browser_table_win.h"

#include "base/diag.h"
#include "screen/display_mode.h"

CBrowserFuncs::CBrowserFuncs() {
    WriteLog("CBrowserFuncs");
}

CBrowserFuncs::~CBrowserFuncs() {
    WriteLog("~CBrowserFuncs");
    RemoveBrowser();
}

int CBrowserFuncs::OpenUrl(const char* name) {
    return host.OpenUrl(name);
}

int CBrowserFuncs::CloseBrowser() {
    WriteLog("CloseBrowser at1");
    if (bDisplayChanged) {
        g_DisplayMode.ChangeDisplayMode(0);
        bDisplayChanged = 0;
    }
    host.CloseHost();
    if (!bShowCursor)
        ShowCursor(TRUE);
    return 1;
}

int CBrowserFuncs::RemoveBrowser() {
    WriteLog("RemoveBrowser at1");
    CloseBrowser();
    WriteLog("RemoveBrowser at3");
    return 1;
}

CBrowserFuncs* AddBrowser() {
    return g_BrowserTable.Add();
}

void DeleteBrowser(CBrowserFuncs* record) {
    g_BrowserTable.Delete(record);
}

CBrowserFuncs* FindBrowser(HWND hWnd) {
    return g_BrowserTable.Find(
        [hWnd](const CBrowserFuncs& record) { return record.hBkWnd == hWnd; });
}

void DeleteAllBrowsers() {
    g_BrowserTable.DeleteAll();
}
