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
#include "screen/monitors_win.h"
#include "screen/separate_browser_win.h"

#include <cmath>

namespace {

// The menu timer: id 0, 330 ms; it drives the blinking focus frame and the description box.
constexpr UINT_PTR MENU_TIMER_ID = 0;
constexpr UINT MENU_TIMER_MS = 330;

// Draws a description text (or measures it, with DT_CALCRECT) in the given font (the device
// context's own when null).
void DrawDescription(HDC dc, HFONT font, const char* text, RECT& rect, UINT format) {
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    DrawTextW(dc, Wide(text).c_str(), -1, &rect, format);
    if (previous)
        SelectObject(dc, previous);
}

// Measures one line in the menu's description font (the default one when it has none) on a
// memory device context for the screen, made and deleted for each measurement, and gives the
// size in the title image's pixels.
class CScreenTextMeasure : public IMenuTextMeasure {
  public:
    explicit CScreenTextMeasure(CMenuWnd& owner) : menu(owner) {}
    void MeasureText(const char* text, int& width, int& height) override {
        width = height = 0;
        CMemoryDc dc{CreateCompatibleDC(nullptr)};
        if (!dc)
            return;
        RECT rect = {0, 0, 5, 25};
        DrawDescription(dc.Get(), menu.DescriptionFont(), text, rect,
                        DT_CALCRECT | DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        width = static_cast<int>(std::ceil((rect.right - rect.left) / menu.scale));
        height = static_cast<int>(std::ceil((rect.bottom - rect.top) / menu.scale));
    }

  private:
    CMenuWnd& menu;
};

} // namespace

MenuMetrics CurrentFrameMetrics() {
    return MenuMetrics{GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME),
                       GetSystemMetrics(SM_CYCAPTION)};
}

ScreenMetrics CurrentScreenMetrics() {
    return ScreenMetrics{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                         CurrentFrameMetrics()};
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
    // A menu reads a hundred keys and more. The profile functions would open and check the
    // file again for every one of them, which costs the title screen a noticeable part of its
    // start; the file is read once instead, by the reader that answers as they do.
    CIniProfile profile = CIniProfile::FromFile(g_szIniFile, WinProfileCodec());
    CMenuWnd* menu = LoadNewMenu(section, settings, profile);
    if (!menu || !menu->RunMenu(hParent, nShowCmd))
        return 0;
    *ppMenu = menu;
    return 1;
}

CMenuWnd* CMenuWnd::LoadNewMenu(const char* section, const RunSettings& settings,
                                IProfileReader& profile) {
    CMenuWnd* menu = new CMenuWnd;
    WriteLog("CMenuWnd::LoadAndRunMenu");
    if (!menu->bInTable) {
        // The full table refused it (and said so): its window would get no messages.
        delete menu;
        return nullptr;
    }
    menu->runSettings = settings;
    return menu->LoadMenu(section, profile) ? menu : nullptr;
}

int CMenuWnd::LoadMenu(const char* section, IProfileReader& profile) {
    MenuMetrics metrics = CurrentFrameMetrics();
    MenuLoadError failure =
        LoadMenuModel(profile, section, runSettings.pad, runSettings.fullScreen, metrics, *this);
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

CMenuWnd::Way CMenuWnd::HowItRuns() const {
    if (nSelections == 1)
        return Way::RunAtOnce;
    return bHasTitleImage == 1 ? Way::TitleWindow : Way::SizeDialog;
}

int CMenuWnd::RunMenu(HWND hParent, int nShowCmd) {
    WriteLog("CMenuWnd::RunMenu at1");
    Way way = HowItRuns();
    if (way == Way::RunAtOnce) {
        WriteLog("CMenuWnd::RunMenu at2");
        if (!RunSelection(sel[0], strTitle, runSettings.launch, hParent)) {
            if (!hParent)
                PostQuitMessage(0);
            return 0;
        }
        return 1;
    }
    // The controllers are read from the moment a menu waits for the player (or a game starts):
    // loading their library any earlier would slow the first window.
    if (way == Way::TitleWindow) {
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
        return RunSelection(sel[nDialogChoice], strTitle, runSettings.launch, hParent) ? 1 : 0;
    if (!hParent)
        PostQuitMessage(0);
    return 1;
}

HWND CMenuWnd::CreateMenuWnd(HWND hParent, int nShowCmd) {
    WriteLog("CMenuWnd::CreateMenuWnd");
    // On the monitor where the player is (the pointer), at its scale. The window is made hidden
    // there, placed for the system's DPI, and then asked its own: only on a monitor of another
    // DPI is it placed again before it shows. (Asking the monitor instead would load a library
    // before the first window.)
    MonitorDesc monitor = MonitorAtPointer(MonitorDpiLookup::Skip);
    int dpi = SystemDpi();
    WindowPlace place = PlaceFor(monitor.work, dpi);
    HWND hWindow = CreateWindowExW(
        0, kMenuWindowClassW, Wide(strTitle).c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU, place.x,
        place.y, place.cx, place.cy, hParent, nullptr, g_hInstance, static_cast<CWinFuncs*>(this));
    hWnd = hWindow;
    hMenuWnd = hWindow;
    if (!hWindow) {
        bDestroyed = 1;
        return nullptr;
    }
    int windowDpi = WindowDpi(hWindow);
    if (windowDpi != dpi) {
        place = PlaceFor(monitor.work, windowDpi);
        SetWindowPos(hWindow, nullptr, place.x, place.y, place.cx, place.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
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
        result = RunSelection(s, strTitle, runSettings.launch, hWindow);
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

void CMenuWnd::SetScale(double newScale) {
    scale = newScale;
    descFont.Reset();
}

HFONT CMenuWnd::DescriptionFont() {
    // Made when a description is first measured or drawn, not before the title screen shows.
    if (descFont)
        return descFont.Get();
    // Descriptions are drawn in the system's message font in bold (as the stock font they were
    // drawn in before is bold): Windows links that face to fonts of the scripts it lacks, where
    // the stock font of a device context draws a Japanese text as boxes. The font is made for
    // the system's DPI; the descriptions want it at this menu's scale. Without it the device
    // context's own font stays.
    double factor = scale * kBaseDpi / SystemDpi();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return nullptr;
    LOGFONTW& font = metrics.lfMessageFont;
    font.lfWeight = FW_BOLD;
    font.lfHeight = ScaleLength(font.lfHeight, factor);
    font.lfWidth = ScaleLength(font.lfWidth, factor);
    descFont.Reset(CreateFontIndirectW(&font));
    return descFont.Get();
}

RECT CMenuWnd::ToWindow(const MenuRect& r) const {
    if (scale == 1.0)
        return RECT{r.left, r.top, r.right, r.bottom};
    // Outward, so that whatever the image's rectangle covers is inside.
    return RECT{static_cast<LONG>(std::floor(r.left * scale)),
                static_cast<LONG>(std::floor(r.top * scale)),
                static_cast<LONG>(std::ceil(r.right * scale)),
                static_cast<LONG>(std::ceil(r.bottom * scale))};
}

void CMenuWnd::ToImage(int& x, int& y) const {
    if (scale == 1.0)
        return;
    x = static_cast<int>(std::floor(x / scale));
    y = static_cast<int>(std::floor(y / scale));
}

void CMenuWnd::CalcSelectionRects(int i, RECT* hotSpot, RECT* descBox) {
    CScreenTextMeasure measure(*this);
    MenuRect hot, desc;
    ::CalcSelectionRects(sel[i], measure, hot, desc);
    *hotSpot = ToWindow(hot);
    *descBox = desc == kNoDescriptionBox ? RECT{-1, -1, -1, -1} : ToWindow(desc);
}

void CMenuWnd::Invalidate(HWND hWindow, const MenuInvalidation& invalidation) {
    for (int i = 0; i < invalidation.count; ++i) {
        RECT rect = ToWindow(invalidation.rects[i]);
        InvalidateRect(hWindow, &rect, FALSE);
    }
}

void CMenuWnd::SetFocusSelection(int i, HWND hWindow) {
    CScreenTextMeasure measure(*this);
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
        imgTitle.pFrames[0]->DrawScaled(dc, 0, 0, ScaleLength(imgTitle.nWidth, scale),
                                        ScaleLength(imgTitle.nHeight, scale));

    CScreenTextMeasure measure(*this);
    MenuPaintPlan plan =
        MenuPlanPaint(*this, MenuFocusState{nFocus, nTicks}, GetFocus() == hWindow, measure);
    if (plan.bFrame) {
        // The frame's rings at the window's scale: as many as three pixels of the image make.
        CBrush brush{CreateSolidBrush(plan.frameColor)};
        RECT rect = ToWindow(plan.frameRings[0]);
        int rings = scale == 1.0 ? 3 : std::max(1, ScaleLength(3, scale));
        for (int k = 0; k < rings; ++k) {
            FrameRect(dc, &rect, brush.Get());
            InflateRect(&rect, -1, -1);
        }
    }
    if (plan.bDescription) {
        RECT frame = ToWindow(plan.descFrame);
        CBrush black{CreateSolidBrush(RGB(0, 0, 0))};
        FrameRect(dc, &frame, black.Get());
        RECT fill = frame;
        InflateRect(&fill, -1, -1);
        CBrush yellow{CreateSolidBrush(kDescriptionFill)};
        FillRect(dc, &fill, yellow.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        DrawDescription(dc, DescriptionFont(), plan.text, fill,
                        DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    EndPaint(hWindow, &ps);
    return 0;
}

WindowPlace CMenuWnd::PlaceFor(const ScreenRect& work, int dpi) {
    double newScale = 1.0;
    WindowPlace place =
        MenuWindowPlace(nWidth, nHeight, CurrentFrameMetrics(), work, DpiScale(dpi), newScale);
    SetScale(newScale);
    return place;
}

// Moved to a monitor of another DPI: the window takes that monitor's scale (or the largest
// that fits its work area) where the system suggests it goes, and is drawn again.
LRESULT CMenuWnd::OnDpiChanged(HWND hWindow, WPARAM wParam, LPARAM lParam) {
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    if (!suggested)
        return 0;
    WindowPlace place = PlaceFor(MonitorOfScreenRect(*suggested).work, LOWORD(wParam));
    SetWindowPos(hWindow, nullptr, suggested->left, suggested->top, place.cx, place.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hWindow, nullptr, FALSE);
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
        CScreenTextMeasure measure(*this);
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
        CScreenTextMeasure measure(*this);
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
        ToImage(x, y);
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
        ToImage(x, y);
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

    case WM_DPICHANGED:
        return OnDpiChanged(hWindow, wParam, lParam);

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
