// Decisions of the title screen that need no Windows: the hot-spot and description-box
// rectangles, the focus and blink state after each tick, key or mouse message, what a paint
// draws, the menu window's and the screen-size dialog's geometry, and the meaning of the
// selection codes and dialog commands. The Win32 side only carries them out.
#pragma once

#include "base/keys.h"
#include "menu/menu_config.h"
#include "resources/resource.h"
#include "screen/screen_geometry.h"

#include <cstdint>

// A rectangle in client pixels; right and bottom are exclusive, as for Win32 RECT.
struct MenuRect {
    int left;
    int top;
    int right;
    int bottom;
};

inline bool operator==(const MenuRect& a, const MenuRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// PtInRect: left and top inclusive, right and bottom exclusive.
bool PointInRect(const MenuRect& rect, int x, int y);
// The rectangle grown by d on every side (shrunk for negative d), as InflateRect.
MenuRect InflatedRect(const MenuRect& rect, int d);

// The description box of a selection without description: draws and invalidates nothing.
constexpr MenuRect kNoDescriptionBox = {-1, -1, -1, -1};

// Measures a single line of text in the default font.
class IMenuTextMeasure {
  public:
    virtual ~IMenuTextMeasure() = default;
    virtual void MeasureText(const char* text, int& width, int& height) = 0;
};

// The hot spot of a selection (selpos as left, top, width, height).
MenuRect HotSpotRect(const MenuSelection& sel);
// The description box for a text measured as textWidth x textHeight: centred on the hot spot,
// five pixels wider than the text on each side, one line high, its top where a 25-pixel box
// centred vertically on the hot spot would begin.
MenuRect DescriptionBoxRect(const MenuSelection& sel, int textWidth, int textHeight);
// Both rectangles; the text is measured only when there is a description.
void CalcSelectionRects(const MenuSelection& sel, IMenuTextMeasure& measure, MenuRect& hotSpot,
                        MenuRect& descBox);

// The menu's focus: the focused selection (-1 for none) and the timer ticks since it changed.
struct MenuFocusState {
    int nFocus = 0;
    int nTicks = 0;
};

// The rectangles that one step invalidates (without erase), in the order they are invalidated.
struct MenuInvalidation {
    int count = 0;
    MenuRect rects[3] = {};
    void Add(const MenuRect& rect);
};

// Timer tick: the hot spot every second tick (the frame blinks two ticks on, two off) and the
// description box on the sixth tick.
MenuInvalidation MenuTimerTick(const CMenuModel& model, MenuFocusState& state,
                               IMenuTextMeasure& measure);

// Moves the focus to index (SetFocusSelection): restarts the blink with the frame visible,
// clears the old focus's frame and description box and draws the new frame.
MenuInvalidation MenuSetFocus(const CMenuModel& model, MenuFocusState& state, int index,
                              IMenuTextMeasure& measure);

enum class MenuKeyAction { None, Activate, Close };

struct MenuKeyResult {
    MenuKeyAction action = MenuKeyAction::None;
    int nActivate = -1; // the selection to activate (the focus before the key)
    MenuInvalidation invalidation;
};

// A key press: Enter and Space activate the focused selection, Escape closes the window, the
// arrows move the focus with wrap-around. The caller carries out the action first, then the
// invalidation.
MenuKeyResult MenuKeyDown(const CMenuModel& model, MenuFocusState& state, int virtualKey,
                          IMenuTextMeasure& measure);

// The client point of a mouse message: low and high word of lParam, each unsigned 16-bit.
void MenuPointFromLParam(std::uint32_t lParam, int& x, int& y);

// The selection that the mouse focuses at a point: the lowest index whose hot spot holds it,
// or -1 for none (the focus then stays where it is).
int MenuHitTest(const CMenuModel& model, int x, int y);

// The selections that a click at a point activates: every one whose hot spot holds it, in
// ascending order. Returns how many were written to indices (at most MAX_SELECTIONS).
int MenuClickTargets(const CMenuModel& model, int x, int y, int* indices);

// What a paint of the focused selection draws over the title image.
struct MenuPaintPlan {
    bool bFrame = false;          // the three-pixel focus frame
    std::uint32_t frameColor = 0; // COLORREF 0x00BBGGRR
    MenuRect frameRings[3] = {};  // the hot spot, then shrunk by one and by two pixels
    bool bDescription = false;
    MenuRect descFrame = {}; // framed in black
    MenuRect descFill = {};  // filled with kDescriptionFill, the text drawn centred in it
    const char* text = nullptr;
};

// The fill colour of the description box (red 255, green 255, blue 102) as a COLORREF.
constexpr std::uint32_t kDescriptionFill = 0x0066FFFF;

// The frame shows while the window has the keyboard focus and (ticks / 2) is even; the
// description from the sixth tick on.
MenuPaintPlan MenuPlanPaint(const CMenuModel& model, const MenuFocusState& state,
                            bool hasKeyboardFocus, IMenuTextMeasure& measure);

// Screen and frame metrics that place the menu's window and dialog.
struct ScreenMetrics {
    int cxScreen;
    int cyScreen;
    MenuMetrics frame;
};

// Outer position and size of a window.
struct WindowPlace {
    int x;
    int y;
    int cx;
    int cy;
};

// The menu window for a content of nWidth x nHeight on a monitor of the given scale (its DPI /
// 96): the content at that scale, or at the largest one at which the window fits the work area
// when that is smaller, given in scale; the content centred in the work area, the window moved
// inside it where it fits (negative when it cannot), its outer size one pixel narrower than the
// scaled content plus the frames, and as high as the scaled content plus the frames and the
// caption.
WindowPlace MenuWindowPlace(int nWidth, int nHeight, const MenuMetrics& frame,
                            const ScreenRect& work, double wanted, double& scale);

// The screen-size dialog laid out for a menu. Control places are in client coordinates.
struct SelectSizeLayout {
    WindowPlace dialog; // outer, in screen coordinates
    WindowPlace prompt;
    WindowPlace list;
    WindowPlace play;
    WindowPlace visit;
    WindowPlace exit;
    WindowPlace notice;
};

// textH, noticeH and buttonH are the heights of the prompt, the notice and the play button as
// the dialog template made them.
SelectSizeLayout LayOutSelectSizeDialog(int nWidth, int nHeight, const ScreenMetrics& metrics,
                                        int textH, int noticeH, int buttonH);

// What a selection code does, compared without regard to case in the order close, exit, visit,
// menu, run, runclose, runexit.
enum class SelectionCode { Close, Exit, Visit, Menu, Run, RunClose, RunExit, Other };
SelectionCode ClassifySelectionCode(const char* code);

// A command of the screen-size dialog, from WM_COMMAND's wParam.
// Play is the play button (or Enter) and a double-click on a list line (notification
// LBN_DBLCLK, 2, in the high word); visit and exit are their buttons (exit also for Escape and
// the close box).
enum class SelectSizeCommand { None, Play, Visit, Exit };
SelectSizeCommand ClassifySelectSizeCommand(std::uint32_t wParam);

// The selection that play runs for the list line's item data, or -1 when no valid line is
// chosen (the dialog then stays open and nothing runs).
int SelectSizeChoice(long long itemData, int nSelections);

// Whether closing a menu without owner opens the exit screen: the section "exitnag" has a title
// image and this menu is not the exit screen itself.
bool OpensExitScreen(const char* exitTitleImage, const char* section);
