#include "screen/browser_table_win.h"

#include "base/diag.h"

CBrowserFuncs::CBrowserFuncs() {
    WriteLog("CBrowserFuncs");
}

CBrowserFuncs::~CBrowserFuncs() {
    WriteLog("~CBrowserFuncs");
    // A record still playing when it is deleted goes with the program: its menu hears
    // nothing.
    if (session)
        session->ProgramEnding();
    RemoveBrowser();
    if (hBkWnd && FromWindow(hBkWnd) == this)
        SetWindowLongPtrW(hBkWnd, GWLP_USERDATA, 0);
}

int CBrowserFuncs::OpenUrl(const char* name) {
    return host.OpenUrl(name);
}

int CBrowserFuncs::CloseBrowser() {
    WriteLog("CloseBrowser at1");
    session.reset();
    host.CloseHost();
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
