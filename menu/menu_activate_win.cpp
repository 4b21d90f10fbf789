// Activation of a selection: what its code does.
#include "menu/menu_wnd_win.h"

#include "app/diag.h"
#include "screen/separate_browser_win.h"

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

// NOT BUILT YET: launching a selection's game (executables, the game screen with its hosted
// control) comes with the game screen. Until then the call is only recorded and reports that
// nothing ran.
int CMenuWnd::RunSelection(int index, HWND hParentWnd) {
    WriteLog("CMenuWnd::RunSelection");
    return 0;
}
