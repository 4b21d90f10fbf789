#include "menu/menu_wnd_win.h"

#include "base/config_names.h"
#include "base/diag.h"
#include "base/globals_win.h"
#include "base/messages.h"
#include "base/program.h"
#include "base/scoped_win.h"
#include "base/wide_win.h"
#include "menu/launch.h"
#include "menu/menu_messages.h"
#include "menu/run_selection_win.h"
#include "platform/pad_win.h"
#include "platform/profile_win.h"
#include "resources/resource.h"
#include "screen/browser_table.h"
#include "screen/separate_browser_win.h"

namespace {

// The menu timer: id 0, 330 ms; it drives the blinking focus frame and the description box.
constexpr UINT_PTR MENU_TIMER_ID = 0;
constexpr UINT MENU_TIMER_MS = 330;

// The font of description texts: the system's message font in bold (as the stock font the
// boxes were drawn in before is bold). Windows links that face to fonts of the scripts it
// lacks; the stock font of a device context is linked to none, and draws a Japanese text as
// boxes. Made once, for the whole run; null leaves the stock font.
HFONT DescriptionFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            return static_cast<HFONT>(nullptr);
        metrics.lfMessageFont.lfWeight = FW_BOLD;
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }();
    return font;
}

// Draws a description text (or measures it, with DT_CALCRECT) in the description font.
void DrawDescription(HDC dc, const char* text, RECT& rect, UINT format) {
    HGDIOBJ previous = DescriptionFont() ? SelectObject(dc, DescriptionFont()) : nullptr;
    DrawTextW(dc, Wide(text).c_str(), -1, &rect, format);
    if (previous)
        SelectObject(dc, previous);
}

// Measures one line in the description font on a memory device context for the screen, made
// and deleted for each measurement.
class CScreenTextMeasure : public IMenuTextMeasure {
  public:
    void MeasureText(const char* text, int& width, int& height) override {
        width = height = 0;
        CMemoryDc dc{CreateCompatibleDC(nullptr)};
        if (!dc)
            return;
        RECT rect = {0, 0, 5, 25};
        DrawDescription(dc.Get(), text, rect, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }
};

RECT ToRect(const MenuRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

} // namespace

ScreenMetrics CurrentScreenMetrics() {
    return ScreenMetrics{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                         MenuMetrics{GetSystemMetrics(SM_CXDLGFRAME),
                                     GetSystemMetrics(SM_CYDLGFRAME),
                                     GetSystemMetrics(SM_CYCAPTION)}};
}

// ---- Window table ----

int AddWindow(CWinFuncs* object) {
    return g_WindowTable.AddWindow(object);
}
void PruneWindows() {
    g_WindowTable.PruneWindows();
}
CWinFuncs* FindWindowObject(HWND hWindow) {
    return g_WindowTable.FindWindowObject(hWindow);
}
void RemoveWindow(CWinFuncs* object) {
    g_WindowTable.RemoveWindow(object);
}
void RemoveAllWindows() {
    g_WindowTable.RemoveAllWindows();
}

CWinFuncs::CWinFuncs() {
    bInTable = AddWindow(this);
}

LRESULT CWinFuncs::HandleWinProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY)
        bDestroyed = 1;
    else if (msg == WM_CLOSE)
        DestroyWindow(hWindow);
    return DefWindowProcW(hWindow, msg, wParam, lParam);
}

LRESULT CALLBACK WinFuncsWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The window is bound to its object, given when the window is made, from its first message
    // on; the binding goes with the window's last message.
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hWindow, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    CWinFuncs* object = reinterpret_cast<CWinFuncs*>(GetWindowLongPtrW(hWindow, GWLP_USERDATA));
    if (msg == WM_NCDESTROY)
        SetWindowLongPtrW(hWindow, GWLP_USERDATA, 0);
    if (!object)
        return DefWindowProcW(hWindow, msg, wParam, lParam);
    ++object->nInUse;
    LRESULT result = object->HandleWinProc(hWindow, msg, wParam, lParam);
    --object->nInUse;
    return result;
}

// ---- Menu object ----

CMenuWnd::CMenuWnd() {
    WriteLog("CMenuWnd::CMenuWnd");
}

int CMenuWnd::LoadAndRunMenu(HWND hParent, int nShowCmd, const char* section,
                             const RunSettings& settings, CMenuWnd** ppMenu) {
    *ppMenu = nullptr;
    CMenuWnd* menu = new CMenuWnd;
    WriteLog("CMenuWnd::LoadAndRunMenu");
    if (!menu->bInTable) {
        // The full table refused it (and said so): its window would get no messages.
        delete menu;
        return 0;
    }
    menu->runSettings = settings;
    if (!menu->LoadMenu(section))
        return 0;
    if (!menu->RunMenu(hParent, nShowCmd))
        return 0;
    *ppMenu = menu;
    return 1;
}

int CMenuWnd::LoadMenu(const char* section) {
    // A menu reads a hundred keys and more. The profile functions would open and check the
    // file again for every one of them, which costs the title screen a noticeable part of its
    // start; the file is read once instead, by the reader that answers as they do.
    CIniProfile profile = CIniProfile::FromFile(g_szIniFile, WinProfileCodec());
    MenuMetrics metrics = CurrentScreenMetrics().frame;
    MenuLoadError failure = LoadMenuModel(profile, section, runSettings.pad, metrics, *this);
    if (!failure.Failed()) {
        SetCursor(ArrowCursor());
        if (strTitleImage[0] == '\0')
            return 1;
        if (imgTitle.Load(strTitleImage) == 0) {
            failure.kind = MenuLoadErrorKind::TitleImageFailed;
            CopyText(failure.strName, sizeof failure.strName, strTitleImage);
        }
    }
    if (failure.Failed()) {
        char error[TEXT_MAX * 3];
        FormatMenuLoadError(failure, g_szIniFile, error, sizeof error);
        ShowError(error);
        return 0;
    }
    nWidth = imgTitle.nWidth;
    nHeight = imgTitle.nHeight;
    bHasTitleImage = 1;
    return 1;
}

int CMenuWnd::RunMenu(HWND hParent, int nShowCmd) {
    WriteLog("CMenuWnd::RunMenu at1");
    if (nSelections == 1) {
        WriteLog("CMenuWnd::RunMenu at2");
        if (!RunSelection(sel[0], strTitle, launchSettings, hParent)) {
            if (!hParent)
                PostQuitMessage(0);
            return 0;
        }
        return 1;
    }
    // The controllers are read from the moment a menu waits for the player (or a game starts):
    // loading their library any earlier would slow the first window.
    if (bHasTitleImage == 1) {
        WriteLog("CMenuWnd::RunMenu at3");
        if (!CreateMenuWnd(hParent, nShowCmd))
            return 0;
        g_Pads.Start();
        return 1;
    }
    WriteLog("CMenuWnd::RunMenu at4");
    g_Pads.Start();
    INT_PTR end = DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(IDD_SELECT_SIZE), hParent,
                                  SelectGameSizeDlgProc, reinterpret_cast<LPARAM>(this));
    // The dialog is gone: its handle must not route a later window's messages to this object.
    hWnd = nullptr;
    if (end == -1)
        return 0; // the dialog could not be made: the menu did not run
    if (end == IDC_SIZE_PLAY)
        return RunSelection(sel[nDialogChoice], strTitle, launchSettings, hParent) ? 1 : 0;
    if (!hParent)
        PostQuitMessage(0);
    return 1;
}

HWND CMenuWnd::CreateMenuWnd(HWND hParent, int nShowCmd) {
    WriteLog("CMenuWnd::CreateMenuWnd");
    WindowPlace place = MenuWindowPlace(nWidth, nHeight, CurrentScreenMetrics());
    HWND hWindow =
        CreateWindowExW(0, kMenuWindowClassW, Wide(strTitle).c_str(),
                        WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, place.x, place.y, place.cx,
                        place.cy, hParent, nullptr, g_hInstance, static_cast<CWinFuncs*>(this));
    hWnd = hWindow;
    hMenuWnd = hWindow;
    if (!hWindow) {
        bDestroyed = 1;
        return nullptr;
    }
    SetTimer(hWindow, MENU_TIMER_ID, MENU_TIMER_MS, nullptr);
    ShowWindow(hWindow, nShowCmd);
    UpdateWindow(hWindow);
    if (hParent)
        EnableWindow(hParent, FALSE);
    return hWindow;
}

int CMenuWnd::ActivateSelection(int i, HWND hWindow) {
    WriteLog("CMenuWnd::ActivateSelection");
    if (i < 0 || i >= nSelections)
        return 0;
    MenuSelection& s = sel[i];
    int result = 1;
    switch (ClassifySelectionCode(s.strCode)) {
    case SelectionCode::Close:
        PostMessageW(hWindow, WM_CLOSE, 0, 0);
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
        if (!LoadAndRunMenu(hWindow, SW_SHOWNORMAL, s.strUrl, runSettings, &subMenu)) {
            PostQuitMessage(0);
            result = 0;
        }
        break;
    }
    case SelectionCode::Run:
    case SelectionCode::RunClose:
    case SelectionCode::RunExit:
        result = RunSelection(s, strTitle, launchSettings, hWindow);
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

void CMenuWnd::Park(HWND hWindow) {
    KillTimer(hWindow, MENU_TIMER_ID);
    EnableWindow(hWindow, FALSE);
}

void CMenuWnd::Unpark(HWND hWindow) {
    SetTimer(hWindow, MENU_TIMER_ID, MENU_TIMER_MS, nullptr);
    EnableWindow(hWindow, TRUE);
    // The menu takes the keyboard again: it was disabled when the game went, so the system did
    // not give it the activation then.
    SetForegroundWindow(hWindow);
}

void CMenuWnd::CalcSelectionRects(int i, RECT* hotSpot, RECT* descBox) {
    CScreenTextMeasure measure;
    MenuRect hot, desc;
    ::CalcSelectionRects(sel[i], measure, hot, desc);
    *hotSpot = ToRect(hot);
    *descBox = ToRect(desc);
}

void CMenuWnd::Invalidate(HWND hWindow, const MenuInvalidation& invalidation) {
    for (int i = 0; i < invalidation.count; ++i) {
        RECT rect = ToRect(invalidation.rects[i]);
        InvalidateRect(hWindow, &rect, FALSE);
    }
}

void CMenuWnd::SetFocusSelection(int i, HWND hWindow) {
    CScreenTextMeasure measure;
    MenuFocusState state{nFocus, nTicks};
    MenuInvalidation invalidation = MenuSetFocus(*this, state, i, measure);
    nFocus = state.nFocus;
    nTicks = state.nTicks;
    Invalidate(hWindow, invalidation);
}

LRESULT CMenuWnd::OnPaint(HWND hWindow) {
    WriteLog("CMenuWnd::HandleWinProc WM_PAINT");
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hWindow, &ps);
    if (imgTitle.nFrames > 0)
        imgTitle.pFrames[0]->Draw(dc, 0, 0);

    CScreenTextMeasure measure;
    MenuPaintPlan plan =
        MenuPlanPaint(*this, MenuFocusState{nFocus, nTicks}, GetFocus() == hWindow, measure);
    if (plan.bFrame) {
        CBrush brush{CreateSolidBrush(plan.frameColor)};
        for (const MenuRect& ring : plan.frameRings) {
            RECT rect = ToRect(ring);
            FrameRect(dc, &rect, brush.Get());
        }
    }
    if (plan.bDescription) {
        RECT frame = ToRect(plan.descFrame);
        CBrush black{CreateSolidBrush(RGB(0, 0, 0))};
        FrameRect(dc, &frame, black.Get());
        RECT fill = ToRect(plan.descFill);
        CBrush yellow{CreateSolidBrush(kDescriptionFill)};
        FillRect(dc, &fill, yellow.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        DrawDescription(dc, plan.text, fill, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    EndPaint(hWindow, &ps);
    return 0;
}

void CMenuWnd::OnDestroy(HWND hWindow) {
    WriteLog("CMenuWnd::HandleWinProc WM_DESTROY");
    HWND hOwner = GetParent(hWindow);
    if (hOwner) {
        // A sub-menu: its menu comes back on top and takes input again.
        EnableWindow(hOwner, TRUE);
        SetWindowPos(hOwner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    } else {
        // The first menu or the exit screen: show the exit screen once, then end.
        char exitImage[TEXT_MAX];
        CWinProfile(g_szIniFile)
            .GetString(kExitScreenSection, kTitleImageKey, "", exitImage, sizeof exitImage);
        CMenuWnd* exitMenu = nullptr;
        if (!OpensExitScreen(exitImage, strSection) ||
            LoadAndRunMenu(nullptr, SW_SHOWNORMAL, kExitScreenSection, runSettings, &exitMenu) != 1)
            PostQuitMessage(0);
    }
    // Marked only now, so that the exit screen's registration above cannot free this object.
    bDestroyed = 1;
}

LRESULT CMenuWnd::HandleWinProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        return OnPaint(hWindow);

    case WM_TIMER: {
        WriteLog("CMenuWnd::HandleWinProc WM_TIMER");
        CScreenTextMeasure measure;
        MenuFocusState state{nFocus, nTicks};
        MenuInvalidation invalidation = MenuTimerTick(*this, state, measure);
        nFocus = state.nFocus;
        nTicks = state.nTicks;
        Invalidate(hWindow, invalidation);
        return 0;
    }

    case WM_KEYDOWN: {
        // A disabled menu waits (for its game, its player or a sub-menu): even input posted
        // to it activates nothing.
        if (!IsWindowEnabled(hWindow))
            return 0;
        CScreenTextMeasure measure;
        MenuFocusState state{nFocus, nTicks};
        MenuKeyResult key = MenuKeyDown(*this, state, static_cast<int>(wParam), measure);
        nFocus = state.nFocus;
        nTicks = state.nTicks;
        if (key.action == MenuKeyAction::Activate)
            ActivateSelection(key.nActivate, hWindow);
        else if (key.action == MenuKeyAction::Close)
            PostMessageW(hWindow, WM_CLOSE, 0, 0);
        Invalidate(hWindow, key.invalidation);
        return 0;
    }

    case WM_MOUSEMOVE: {
        int x, y;
        MenuPointFromLParam(static_cast<std::uint32_t>(lParam), x, y);
        int i = MenuHitTest(*this, x, y);
        if (i >= 0)
            SetFocusSelection(i, hWindow);
        return 0;
    }

    case WM_LBUTTONDOWN: {
        if (!IsWindowEnabled(hWindow))
            return 0;
        int x, y;
        MenuPointFromLParam(static_cast<std::uint32_t>(lParam), x, y);
        int targets[MAX_SELECTIONS];
        int count = MenuClickTargets(*this, x, y, targets);
        // Every hot spot under the point, in ascending order; a window destroyed meanwhile (by
        // a modal loop inside one of them) has nothing left to activate.
        for (int k = 0; k < count && !bDestroyed; ++k)
            ActivateSelection(targets[k], hWindow);
        return 0;
    }

    case WM_CLOSE:
        WriteLog("CMenuWnd::HandleWinProc WM_CLOSE");
        KillTimer(hWindow, MENU_TIMER_ID);
        DestroyWindow(hWindow);
        return 0;

    case WM_DESTROY:
        OnDestroy(hWindow);
        return 0;

    case WM_COMMAND:
        return 0;

    case kMsgGameStarted:
        Park(hWindow);
        return 0;

    case kMsgGameEnded:
        if (static_cast<int>(wParam) == kCloseMenu)
            PostMessageW(hWindow, WM_CLOSE, 0, 0);
        else
            Unpark(hWindow);
        return 0;

    default:
        return DefWindowProcW(hWindow, msg, wParam, lParam);
    }
}
