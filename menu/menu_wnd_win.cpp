#include "menu/menu_wnd_win.h"

#include "app/diag.h"
#include "app/startup.h"
#include "platform/profile_win.h"

CWinFuncs::CWinFuncs() {}

LRESULT CWinFuncs::HandleWinProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY)
        bDestroyed = 1;
    else if (msg == WM_CLOSE)
        DestroyWindow(hWindow);
    return DefWindowProcA(hWindow, msg, wParam, lParam);
}

CMenuWnd::CMenuWnd() {
    WriteLog("CMenuWnd::CMenuWnd");
}

int CMenuWnd::LoadAndRunMenu(HWND hParent, int nShowCmd, const char* section, CMenuWnd** ppMenu) {
    *ppMenu = nullptr;
    CMenuWnd* menu = new CMenuWnd;
    WriteLog("CMenuWnd::LoadAndRunMenu");
    if (!menu->LoadMenu(section))
        return 0;
    if (!menu->RunMenu(hParent, nShowCmd))
        return 0;
    *ppMenu = menu;
    return 1;
}

int CMenuWnd::LoadMenu(const char* section) {
    CWinProfile profile(g_szIniFile);
    MenuMetrics metrics{GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME),
                        GetSystemMetrics(SM_CYCAPTION)};
    char error[TEXT_MAX * 3];
    if (!LoadMenuModel(profile, section, g_szIniFile, metrics, *this, error, sizeof error)) {
        ShowError(error);
        return 0;
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (strTitleImage[0] == '\0')
        return 1;
    if (imgTitle.Load(strTitleImage) == 0) {
        FormatText(error, sizeof error, "%s - failed to load title screen image %s", "tovak.exe",
                   strTitleImage);
        ShowError(error);
        return 0;
    }
    nWidth = imgTitle.nWidth;
    nHeight = imgTitle.nHeight;
    bHasTitleImage = 1;
    return 1;
}

int CMenuWnd::RunMenu(HWND, int) {
    WriteLog("CMenuWnd::RunMenu at1");
    // The title screen is not drawn yet: a loaded menu ends the program normally.
    PostQuitMessage(0);
    return 1;
}

LRESULT CALLBACK WinFuncsWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWindow, msg, wParam, lParam);
}
