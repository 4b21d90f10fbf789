// Activation of a selection: what its code does.
#include "menu/menu_wnd_win.h"

#include "app/diag.h"
#include "app/startup.h"
#include "menu/launch.h"
#include "screen/browser_table_win.h"
#include "screen/display_mode.h"
#include "screen/separate_browser_win.h"

#include <objbase.h>

namespace {

// Shows a launch error whose format takes the file's name or path.
void ShowLaunchError(const char* format, const char* file) {
    char text[TEXT_MAX * 2];
    FormatText(text, sizeof text, format, file);
    ShowError(text);
}

// Gives a record that never opened a game screen back to the table at once, so that failed
// launches never fill it.
void HandBack(CBrowserFuncs* record) {
    if (record)
        DeleteBrowser(record);
}

} // namespace

int CMenuWnd::ActivateSelection(int i, HWND hWindow) {
    WriteLog("CMenuWnd::ActivateSelection");
    if (i < 0 || i >= nSelections)
        return 0;
    MenuSelection& s = sel[i];
    int result = 1;
    switch (ClassifySelectionCode(s.strCode)) {
    case SelectionCode::Close:
        PostMessageA(hWindow, WM_CLOSE, 0, 0);
        break;
    case SelectionCode::Exit:
        PostQuitMessage(0);
        break;
    case SelectionCode::Visit:
        result = OpenSeparateBrowser(s.strUrl);
        break;
    case SelectionCode::Menu: {
        // The sub-menu is owned by this menu's window; one that cannot be shown ends the
        // program after its own message.
        CMenuWnd* subMenu = nullptr;
        if (!LoadAndRunMenu(hWindow, SW_SHOWNORMAL, s.strUrl, &subMenu)) {
            PostQuitMessage(0);
            result = 0;
        }
        break;
    }
    case SelectionCode::Run:
    case SelectionCode::RunClose:
    case SelectionCode::RunExit:
        result = RunSelection(i, hWindow);
        break;
    case SelectionCode::Other:
        break;
    }
    RECT hot, desc;
    CalcSelectionRects(i, &hot, &desc);
    InvalidateRect(hWindow, &hot, FALSE);
    if (desc.left != -1 || desc.right != -1)
        InvalidateRect(hWindow, &desc, FALSE);
    return result;
}

namespace {

// Starts the executable as the player's game and waits until it ends. The display takes the
// selection's mode meanwhile. 1 when it ran; 0 after the error box.
int RunExecutable(const MenuSelection& s, const char* path, HCURSOR hPrevCursor,
                  bool& bCursorRestored) {
    WriteLog("CMenuWnd::RunSelection at2");
    int bChanged = g_DisplayMode.CalcDisplayMode(s.bScreenFull, s.nScreenWidth, s.nScreenHeight,
                                                 s.nColorDepth);
    if (bChanged == 1)
        g_DisplayMode.ChangeDisplayMode(1);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
    startup.wShowWindow = SW_SHOWMAXIMIZED;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &process)) {
        if (bChanged == 1)
            g_DisplayMode.ChangeDisplayMode(0);
        ShowLaunchError(kLaunchExecFailedFormat, path);
        return 0;
    }
    SetCursor(hPrevCursor);
    bCursorRestored = true;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (bChanged == 1)
        g_DisplayMode.ChangeDisplayMode(0);
    // The launcher's part is done once the game has ended.
    PostQuitMessage(0);
    return 1;
}

// Whether the control that plays this kind of game is installed. When it is not, the player
// is offered its maker's download page; taking it ends the program.
bool ControlInstalled(GameKind kind, HWND hOwner) {
    const GameKindInfo& info = GameKindOf(kind);
    wchar_t progId[64];
    MultiByteToWideChar(CP_ACP, 0, info.progId, -1, progId, 64);
    CLSID clsid;
    if (SUCCEEDED(CLSIDFromProgID(progId, &clsid)))
        return true;
    const MissingControlOffer* offer = MissingControlOf(kind);
    if (MessageBoxA(hOwner, offer->text, offer->caption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        OpenSeparateBrowser(offer->page);
        PostQuitMessage(0);
    }
    return false;
}

} // namespace

int CMenuWnd::RunSelection(int index, HWND hParentWnd) {
    CBrowserFuncs* record = AddBrowser();
    int result = 1;
    WriteLog("CMenuWnd::RunSelection");
    if (index < 0 || index >= nSelections) {
        HandBack(record);
        return 0;
    }
    const MenuSelection& s = sel[index];

    char path[TEXT_MAX];
    if (!ResolveSelectionPath(path, sizeof path, g_szWorkDir, s.strUrl)) {
        ShowLaunchError(kLaunchPathTooLongFormat, s.strUrl);
        HandBack(record);
        return 0;
    }

    HCURSOR hPrevCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    bool bCursorRestored = false;
    GameKind kind = FindGameKind(path);
    if (kind == GameKind::Executable) {
        result = RunExecutable(s, path, hPrevCursor, bCursorRestored);
    } else if (kind != GameKind::None) {
        const GameKindInfo& info = GameKindOf(kind);
        WriteLog(info.marker);
        if (!ControlInstalled(kind, hParentWnd) || !record) {
            result = 0;
        } else if (!record->OpenBrowser(info.nBrowserType, hParentWnd, s.clrScreenBg, s.clrGameBg,
                                        s.nScreenWidth, s.nScreenHeight, s.nGameWidth,
                                        s.nGameHeight, s.nColorDepth, s.bScreenFull, s.bCloseBtn,
                                        s.bShowCursor, strTitle, s.nQuality)) {
            result = 0;
        } else if (!record->OpenUrl(path)) {
            // The game screen stays as it was opened; the menu is not parked.
            result = 0;
        } else {
            WriteLog("CMenuWnd::RunSelection at6");
            record->nCloseKind =
                CloseKindFor(hParentWnd != nullptr, ClassifySelectionCode(s.strCode));
            record->bCloseOnEvent = s.bCloseOnEvent;
            if (hParentWnd) {
                KillTimer(hParentWnd, MENU_TIMER_ID);
                EnableWindow(hParentWnd, FALSE);
            }
        }
    } else {
        ShowLaunchError(kLaunchInvalidTypeFormat, path);
        result = 0;
    }
    // A record whose game screen never opened a window has nothing to close later.
    if (record && !record->hBkWnd)
        HandBack(record);
    if (!bCursorRestored)
        SetCursor(hPrevCursor);
    return result;
}
