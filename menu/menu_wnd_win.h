// Menu objects, the window base class through which menu windows get their messages, and the
// program-wide table of window objects.
#pragma once

#include "image/gif.h"
#include "menu/menu_config.h"
#include "menu/menu_layout.h"
#include "menu/run_settings.h"
#include "menu/window_table.h"
#include "base/scoped_win.h"

#include <windows.h>

class CWinFuncs {
  public:
    // Enters the object in the window table (bInTable says whether the table took it).
    CWinFuncs();
    virtual ~CWinFuncs() = default;
    CWinFuncs(const CWinFuncs&) = delete;
    CWinFuncs& operator=(const CWinFuncs&) = delete;

    // Default handling: WM_DESTROY marks the object destroyed, WM_CLOSE destroys the window;
    // every message then goes to DefWindowProcA.
    virtual LRESULT HandleWinProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hWnd = nullptr;
    int bDestroyed = 0;
    // 0 when the full window table refused the object: its window would get no messages, so
    // the object must not be run (and its owner frees it).
    int bInTable = 0;
    // How many of this object's handlers are running; the table frees a destroyed object only
    // once none is, so that a handler never runs on a freed object.
    int nInUse = 0;
};

// The table of window objects: owns every CWinFuncs object from its construction on.
typedef CWindowTable<CWinFuncs> CWinFuncsTable;
extern CWinFuncsTable g_WindowTable;

int AddWindow(CWinFuncs* object);
void PruneWindows();
CWinFuncs* FindWindowObject(HWND hWindow);
void RemoveWindow(CWinFuncs* object);
void RemoveAllWindows();

class CMenuWnd : public CWinFuncs, public CMenuModel {
  public:
    CMenuWnd();

    // Makes a menu object that loads and launches with the run's settings, loads the section
    // and runs it. 1 on success; the object is stored in *ppMenu then.
    static int LoadAndRunMenu(HWND hParent, int nShowCmd, const char* section,
                              const RunSettings& settings, CMenuWnd** ppMenu);
    // The first half of LoadAndRunMenu: the menu object with the section loaded from the
    // configuration read into profile, or null after an error box (the window table keeps and
    // destroys an object it holds).
    static CMenuWnd* LoadNewMenu(const char* section, const RunSettings& settings,
                                 IProfileReader& profile);
    // Reads the section into the model and loads its title image; 0 after an error box.
    int LoadMenu(const char* section, IProfileReader& profile);
    // How a loaded menu runs: a single selection at once, a title image in the menu window,
    // any other menu in the screen-size dialog.
    enum class Way { RunAtOnce, TitleWindow, SizeDialog };
    Way HowItRuns() const;
    // Runs the loaded menu in its way.
    int RunMenu(HWND hParent, int nShowCmd);
    // The centred title-screen window, owned by hParent (which it disables); 0 on failure.
    HWND CreateMenuWnd(HWND hParent, int nShowCmd);

    LRESULT HandleWinProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The hot spot and description box of selection i, in client pixels.
    void CalcSelectionRects(int i, RECT* hotSpot, RECT* descBox);
    // Moves the focus frame to selection i.
    void SetFocusSelection(int i, HWND hWindow);
    // Carries out selection i's code; 0 for an index outside the list or a failed action.
    int ActivateSelection(int i, HWND hWindow);

    // The title screen's scale on its monitor (its DPI / 96, or less where the window would not
    // fit): the image, the hot spots, the frames and the description box are drawn at it, and
    // the mouse's points are taken back from it.
    void SetScale(double newScale);
    double scale = 1.0;
    // The font that draws the descriptions at that scale, made at its first use (null: the
    // device context's own, at 1).
    HFONT DescriptionFont();

    CGifImage imgTitle;
    // The run's settings, handed on to the menus this one opens; their launch settings go to
    // every game it runs.
    RunSettings runSettings;
    int nFocus = 0;
    int nTicks = 0;
    HWND hMenuWnd = nullptr;

  private:
    CFont descFont;
    LRESULT OnPaint(HWND hWindow);
    LRESULT OnDpiChanged(HWND hWindow, WPARAM wParam, LPARAM lParam);
    // The window's place in a work area at a DPI; the menu takes the scale that place has.
    WindowPlace PlaceFor(const ScreenRect& work, int dpi);
    // A rectangle of the image in the window's pixels, and a point of the window in the image.
    RECT ToWindow(const MenuRect& r) const;
    void ToImage(int& x, int& y) const;
    void Invalidate(HWND hWindow, const MenuInvalidation& invalidation);
    void OnDestroy(HWND hWindow);
    // While a game it launched runs, the menu waits: no timer, no input. Afterwards it takes
    // both back, and the keyboard.
    void Park(HWND hWindow);
    void Unpark(HWND hWindow);
};

// The screen size and the frame metrics that place menu windows and the dialog.
ScreenMetrics CurrentScreenMetrics();
// The frame metrics alone, which are all a menu window's place needs (the screen's size is
// asked of the display devices, a cost before the first window).
MenuMetrics CurrentFrameMetrics();

LRESULT CALLBACK WinFuncsWndProc(HWND hWindow, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SelectGameSizeDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
