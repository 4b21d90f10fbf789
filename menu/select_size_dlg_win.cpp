// The screen-size dialog: a menu without title image shown as a list of its selections.
#include "menu/menu_wnd_win.h"

#include "base/globals_win.h"
#include "base/int_range.h"
#include "base/wide_win.h"
#include "resources/resource.h"
#include "screen/separate_browser_win.h"

namespace {

int WindowHeight(HWND hWindow) {
    RECT rect = {};
    GetWindowRect(hWindow, &rect);
    return rect.bottom - rect.top;
}

void Place(HWND hControl, const WindowPlace& place) {
    SetWindowPos(hControl, nullptr, place.x, place.y, place.cx, place.cy, SWP_NOZORDER);
}

void LayOutDialog(HWND hDlg, CMenuWnd& menu) {
    ScreenMetrics metrics = CurrentScreenMetrics();
    HWND hPrompt = GetDlgItem(hDlg, IDC_SIZE_PROMPT);
    HWND hNotice = GetDlgItem(hDlg, -1);
    HWND hList = GetDlgItem(hDlg, IDC_SIZE_LIST);
    HWND hPlay = GetDlgItem(hDlg, IDC_SIZE_PLAY);
    HWND hVisit = GetDlgItem(hDlg, IDC_SIZE_VISIT);
    HWND hExit = GetDlgItem(hDlg, IDC_SIZE_EXIT);

    // The heights that the template's dialog units and the dialog font gave.
    SelectSizeLayout layout =
        LayOutSelectSizeDialog(menu.nWidth, menu.nHeight, metrics, WindowHeight(hPrompt),
                               WindowHeight(hNotice), WindowHeight(hPlay));
    SetWindowPos(hDlg, nullptr, layout.dialog.x, layout.dialog.y, layout.dialog.cx,
                 layout.dialog.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextW(hDlg, Wide(menu.strTitle).c_str());

    Place(hPrompt, layout.prompt);
    Place(hList, layout.list);
    // Unsorted: line i carries selection index i as its item data.
    for (int i = 0; i < menu.nSelections; ++i) {
        std::wstring desc = Wide(menu.sel[i].strDesc);
        LRESULT line = SendMessageW(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(desc.c_str()));
        if (line >= 0)
            SendMessageW(hList, LB_SETITEMDATA, static_cast<WPARAM>(line), line);
    }
    SendMessageW(hList, LB_SETCURSEL, static_cast<WPARAM>(WideInt(menu.nDefaultSelection) - 1), 0);

    Place(hPlay, layout.play);
    SetWindowTextW(hPlay, Wide(menu.strPlayTitle).c_str());
    Place(hVisit, layout.visit);
    SetWindowTextW(hVisit, Wide(menu.strVisitTitle).c_str());
    Place(hExit, layout.exit);
    SetWindowTextW(hExit, Wide(menu.strExitTitle).c_str());
    Place(hNotice, layout.notice);
    SetFocus(hList);
}

// Play: the chosen line's selection, or nothing while no line is chosen (the dialog stays).
void Play(HWND hDlg, CMenuWnd& menu) {
    HWND hList = GetDlgItem(hDlg, IDC_SIZE_LIST);
    LRESULT line = SendMessageW(hList, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR)
        return;
    LRESULT data = SendMessageW(hList, LB_GETITEMDATA, static_cast<WPARAM>(line), 0);
    int choice = SelectSizeChoice(data, menu.nSelections);
    if (choice < 0)
        return;
    menu.nDialogChoice = choice;
    EndDialog(hDlg, IDC_SIZE_PLAY);
}

} // namespace

INT_PTR CALLBACK SelectGameSizeDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The dialog is bound to its menu, given when the dialog is made, from its first message.
    if (msg == WM_INITDIALOG) {
        CMenuWnd* given = reinterpret_cast<CMenuWnd*>(lParam);
        if (!given)
            return FALSE;
        given->hWnd = hDlg;
        SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
    }
    CMenuWnd* menu = reinterpret_cast<CMenuWnd*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (!menu)
        return FALSE;

    switch (msg) {
    case WM_INITDIALOG:
        LayOutDialog(hDlg, *menu);
        return TRUE;
    case WM_COMMAND:
        switch (ClassifySelectSizeCommand(static_cast<std::uint32_t>(wParam))) {
        case SelectSizeCommand::Play:
            Play(hDlg, *menu);
            return FALSE;
        case SelectSizeCommand::Visit:
            OpenSeparateBrowser(menu->strVisitUrl);
            return FALSE;
        case SelectSizeCommand::Exit:
            EndDialog(hDlg, IDC_SIZE_EXIT);
            return TRUE;
        case SelectSizeCommand::None:
            return FALSE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
