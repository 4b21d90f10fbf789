#include "menu/menu_layout.h"
#include "base/config_names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Measures every character as 7 x 13 pixels and counts the measurements.
class FixedMeasure : public IMenuTextMeasure {
  public:
    void MeasureText(const char* text, int& width, int& height) override {
        ++calls;
        width = 7 * static_cast<int>(std::strlen(text));
        height = 13;
    }
    int calls = 0;
};

void SetSelection(CMenuModel& model, int i, int x, int y, int w, int h, const char* desc,
                  int color = 0x00FF00) {
    MenuSelection& sel = model.sel[i];
    sel.nPosX = x;
    sel.nPosY = y;
    sel.nPosWidth = w;
    sel.nPosHeight = h;
    std::strcpy(sel.strDesc, desc);
    sel.clrFocus = color;
    if (i >= model.nSelections)
        model.nSelections = i + 1;
}

// Three selections side by side; the second has no description.
CMenuModel ThreeSelections() {
    CMenuModel model;
    SetSelection(model, 0, 10, 20, 100, 50, "Small");
    SetSelection(model, 1, 120, 20, 100, 50, "");
    SetSelection(model, 2, 230, 20, 100, 50, "Large screen", 0xFF8000);
    return model;
}

std::vector<MenuRect> Rects(const MenuInvalidation& inv) {
    return std::vector<MenuRect>(inv.rects, inv.rects + inv.count);
}

} // namespace

TEST(MenuRects, HotSpotAndDescriptionBox) {
    CMenuModel model = ThreeSelections();
    FixedMeasure measure;
    MenuRect hot, desc;
    CalcSelectionRects(model.sel[0], measure, hot, desc);
    EXPECT_EQ(hot, (MenuRect{10, 20, 110, 70}));
    // "Small" measures 35 x 13: centred on the hot spot, 5 pixels of margin on each side,
    // top where a 25-pixel box centred vertically would begin ((50 - 25) / 2 = 12).
    EXPECT_EQ(desc, (MenuRect{(100 - 35) / 2 + 10 - 5, 32, (100 - 35) / 2 + 10 - 5 + 45, 45}));

    // No description: the empty box, and the text is not measured.
    measure.calls = 0;
    CalcSelectionRects(model.sel[1], measure, hot, desc);
    EXPECT_EQ(desc, kNoDescriptionBox);
    EXPECT_EQ(measure.calls, 0);
}

TEST(MenuRects, DivisionsTruncateTowardZero) {
    MenuSelection sel{};
    sel.nPosX = 5;
    sel.nPosY = 7;
    sel.nPosWidth = 10;
    sel.nPosHeight = 10; // (10 - 25) / 2 = -7, not -8
    MenuRect box = DescriptionBoxRect(sel, 31, 16);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.bottom, 16);
    EXPECT_EQ(box.left, (10 - 31) / 2 + 5 - 5); // -10, not -11
    EXPECT_EQ(box.right, box.left + 41);
}

TEST(MenuRects, PointInRectIsHalfOpen) {
    MenuRect r{10, 20, 30, 40};
    EXPECT_TRUE(PointInRect(r, 10, 20));
    EXPECT_TRUE(PointInRect(r, 29, 39));
    EXPECT_FALSE(PointInRect(r, 30, 25));
    EXPECT_FALSE(PointInRect(r, 15, 40));
    EXPECT_FALSE(PointInRect(r, 9, 25));
    EXPECT_FALSE(PointInRect(MenuRect{5, 5, 5, 9}, 5, 6)); // zero width holds nothing
}

TEST(MenuFocus, TimerBlinksEverySecondTickAndShowsTheBoxOnTheSixth) {
    CMenuModel model = ThreeSelections();
    FixedMeasure measure;
    MenuFocusState state;
    MenuRect hot, desc;
    CalcSelectionRects(model.sel[0], measure, hot, desc);

    for (int tick = 1; tick <= 12; ++tick) {
        std::vector<MenuRect> got = Rects(MenuTimerTick(model, state, measure));
        std::vector<MenuRect> want;
        if (tick % 2 == 0)
            want.push_back(hot);
        if (tick == 6)
            want.push_back(desc);
        EXPECT_EQ(state.nTicks, tick);
        EXPECT_EQ(got, want) << "tick " << tick;

        // The frame is visible for two ticks, hidden for two, starting visible.
        MenuPaintPlan plan = MenuPlanPaint(model, state, true, measure);
        EXPECT_EQ(plan.bFrame, (tick / 2) % 2 == 0) << "tick " << tick;
        EXPECT_EQ(plan.bDescription, tick >= 6) << "tick " << tick;
    }
}

TEST(MenuFocus, SelectionWithoutDescriptionNeverShowsABox) {
    CMenuModel model = ThreeSelections();
    FixedMeasure measure;
    MenuFocusState state{1, 0};
    for (int tick = 1; tick <= 8; ++tick) {
        MenuInvalidation inv = MenuTimerTick(model, state, measure);
        EXPECT_EQ(inv.count, tick % 2 == 0 ? 1 : 0);
        EXPECT_FALSE(MenuPlanPaint(model, state, true, measure).bDescription);
    }
}

TEST(MenuFocus, NoFocusCountsTicksButDrawsNothing) {
    CMenuModel model = ThreeSelections();
    FixedMeasure measure;
    MenuFocusState state{-1, 0};
    for (int tick = 1; tick <= 6; ++tick)
        EXPECT_EQ(MenuTimerTick(model, state, measure).count, 0);
    EXPECT_EQ(state.nTicks, 6);
    MenuPaintPlan plan = MenuPlanPaint(model, state, true, measure);
    EXPECT_FALSE(plan.bFrame);
    EXPECT_FALSE(plan.bDescription);
}

TEST(MenuFocus, PaintPlanRingsColourAndBox) {
    CMenuModel model = ThreeSelections();
    FixedMeasure measure;
    MenuFocusState state{2, 0};
    MenuPaintPlan plan = MenuPlanPaint(model, state, true, measure);
    ASSERT_TRUE(plan.bFrame);
    EXPECT_EQ(plan.frameColor, 0x000080FFu); // 0xFF8000 as COLORREF
    EXPECT_EQ(plan.frameRings[0], (MenuRect{230, 20, 330, 70}));
    EXPECT_EQ(plan.frameRings[1], (MenuRect{231, 21, 329, 69}));
    EXPECT_EQ(plan.frameRings[2], (MenuRect{232, 22, 328, 68}));
    EXPECT_FALSE(plan.bDescription);

    // Without the keyboard focus there is no frame; the description still shows.
    state.nTicks = 6;
    plan = MenuPlanPaint(model, state, false, measure);
    EXPECT_FALSE(plan.bFrame);
    ASSERT_TRUE(plan.bDescription);
    MenuRect hot, desc;
    CalcSelectionRects(model.sel[2], measure, hot, desc);
    EXPECT_EQ(plan.descFrame, desc);
    EXPECT_EQ(plan.descFill,
              (MenuRect{desc.left + 1, desc.top + 1, desc.right - 1, desc.bottom - 1}));
    EXPECT_STREQ(plan.text, "Large screen");
    EXPECT_EQ(kDescriptionFill, 0x0066FFFFu);
}

TEST(MenuFocus, SetFocusClearsTheOldAndDrawsTheNew) {
    CMenuModel model = ThreeSelections();
    FixedMeasure measure;
    MenuFocusState state{0, 9};
    MenuRect hot0, desc0, hot2, desc2;
    CalcSelectionRects(model.sel[0], measure, hot0, desc0);
    CalcSelectionRects(model.sel[2], measure, hot2, desc2);

    EXPECT_EQ(MenuSetFocus(model, state, 0, measure).count, 0); // same focus: nothing
    EXPECT_EQ(state.nTicks, 9);

    EXPECT_EQ(Rects(MenuSetFocus(model, state, 2, measure)),
              (std::vector<MenuRect>{hot0, desc0, hot2}));
    EXPECT_EQ(state.nFocus, 2);
    EXPECT_EQ(state.nTicks, 0); // the blink restarts with the frame visible
    EXPECT_TRUE(MenuPlanPaint(model, state, true, measure).bFrame);

    // Leaving a selection without description invalidates only its hot spot.
    state = MenuFocusState{1, 3};
    EXPECT_EQ(Rects(MenuSetFocus(model, state, 2, measure)),
              (std::vector<MenuRect>{HotSpotRect(model.sel[1]), hot2}));
    // From no focus only the new hot spot; to no focus only the old rectangles.
    state = MenuFocusState{-1, 3};
    EXPECT_EQ(Rects(MenuSetFocus(model, state, 0, measure)), (std::vector<MenuRect>{hot0}));
    EXPECT_EQ(Rects(MenuSetFocus(model, state, -1, measure)), (std::vector<MenuRect>{hot0, desc0}));
}

TEST(MenuKeys, ArrowsWrapBothWays) {
    CMenuModel model = ThreeSelections();
    FixedMeasure measure;
    struct Step {
        int key;
        int focus;
    };
    MenuFocusState state;
    const Step steps[] = {{kKeyRight, 1}, {kKeyDown, 2}, {kKeyRight, 0}, {kKeyLeft, 2},
                          {kKeyUp, 1},    {kKeyUp, 0},   {kKeyUp, 2},    {kKeyDown, 0}};
    for (const Step& step : steps) {
        int old = state.nFocus;
        state.nTicks = 5;
        MenuKeyResult r = MenuKeyDown(model, state, step.key, measure);
        EXPECT_EQ(r.action, MenuKeyAction::None);
        EXPECT_EQ(state.nFocus, step.focus) << "key " << step.key << " from " << old;
        EXPECT_EQ(state.nTicks, 0);
        ASSERT_GE(r.invalidation.count, 2);
        EXPECT_EQ(r.invalidation.rects[0], HotSpotRect(model.sel[old]));
        EXPECT_EQ(r.invalidation.rects[r.invalidation.count - 1],
                  HotSpotRect(model.sel[step.focus]));
    }
}

TEST(MenuKeys, OneSelectionStaysAndNoFocusWrapsIn) {
    CMenuModel model;
    SetSelection(model, 0, 0, 0, 10, 10, "x");
    FixedMeasure measure;
    MenuFocusState state{0, 4};
    MenuKeyResult r = MenuKeyDown(model, state, kKeyRight, measure);
    EXPECT_EQ(state.nFocus, 0);
    EXPECT_EQ(state.nTicks, 4); // the focus did not change: the blink goes on
    EXPECT_EQ(r.invalidation.count, 0);

    CMenuModel three = ThreeSelections();
    state = MenuFocusState{-1, 0};
    MenuKeyDown(three, state, kKeyLeft, measure);
    EXPECT_EQ(state.nFocus, 2);
    state = MenuFocusState{-1, 0};
    MenuKeyDown(three, state, kKeyRight, measure);
    EXPECT_EQ(state.nFocus, 0);
}

TEST(MenuKeys, EnterSpaceEscapeAndOthers) {
    CMenuModel model = ThreeSelections();
    FixedMeasure measure;
    MenuFocusState state{2, 7};
    for (int key : {kKeyReturn, kKeySpace}) {
        MenuKeyResult r = MenuKeyDown(model, state, key, measure);
        EXPECT_EQ(r.action, MenuKeyAction::Activate);
        EXPECT_EQ(r.nActivate, 2);
        EXPECT_EQ(r.invalidation.count, 0);
    }
    EXPECT_EQ(MenuKeyDown(model, state, kKeyEscape, measure).action, MenuKeyAction::Close);
    for (int key : {0, 9, 65, 36, 41, 0x70}) {
        MenuKeyResult r = MenuKeyDown(model, state, key, measure);
        EXPECT_EQ(r.action, MenuKeyAction::None);
        EXPECT_EQ(r.invalidation.count, 0);
    }
    EXPECT_EQ(state.nFocus, 2);
    EXPECT_EQ(state.nTicks, 7);
}

TEST(MenuMouse, LowestIndexFocusesAndEveryHitIsClicked) {
    CMenuModel model;
    SetSelection(model, 0, 0, 0, 100, 100, "a");
    SetSelection(model, 1, 50, 50, 100, 100, "b");
    SetSelection(model, 2, 60, 60, 10, 10, "c");
    SetSelection(model, 3, 200, 200, 0, 0, "empty");

    EXPECT_EQ(MenuHitTest(model, 10, 10), 0);
    EXPECT_EQ(MenuHitTest(model, 65, 65), 0);
    EXPECT_EQ(MenuHitTest(model, 100, 100), 1);
    EXPECT_EQ(MenuHitTest(model, 150, 150), -1);
    EXPECT_EQ(MenuHitTest(model, 200, 200), -1);

    int hits[MAX_SELECTIONS];
    ASSERT_EQ(MenuClickTargets(model, 65, 65, hits), 3);
    EXPECT_EQ(hits[0], 0);
    EXPECT_EQ(hits[1], 1);
    EXPECT_EQ(hits[2], 2);
    ASSERT_EQ(MenuClickTargets(model, 120, 60, hits), 1);
    EXPECT_EQ(hits[0], 1);
    EXPECT_EQ(MenuClickTargets(model, 400, 400, hits), 0);

    // Twenty selections all at one spot: all twenty are clicked.
    CMenuModel full;
    for (int i = 0; i < MAX_SELECTIONS; ++i)
        SetSelection(full, i, 0, 0, 5, 5, "");
    EXPECT_EQ(MenuClickTargets(full, 1, 1, hits), MAX_SELECTIONS);
    EXPECT_EQ(hits[19], 19);
}

TEST(MenuMouse, PointIsTwoUnsignedWords) {
    int x = 0, y = 0;
    MenuPointFromLParam(0x00640032u, x, y);
    EXPECT_EQ(x, 0x32);
    EXPECT_EQ(y, 0x64);
    MenuPointFromLParam(0xFFFFFFFEu, x, y);
    EXPECT_EQ(x, 0xFFFE);
    EXPECT_EQ(y, 0xFFFF);
}

TEST(MenuGeometry, WindowIsCentredInTheWorkAreaScaledAndOnePixelNarrower) {
    MenuMetrics frame{3, 3, 19};
    const ScreenRect work{0, 0, 1024, 768};
    double scale = 0;
    WindowPlace p = MenuWindowPlace(640, 480, frame, work, 1.0, scale);
    EXPECT_EQ(p.x, 192);
    EXPECT_EQ(p.y, 144);
    EXPECT_EQ(p.cx, 640 + 6 - 1);
    EXPECT_EQ(p.cy, 480 + 6 + 19);

    // At 150 % on a monitor right of the first, with a task bar at its top.
    p = MenuWindowPlace(640, 480, frame, ScreenRect{1024, 40, 3024, 1240}, 1.5, scale);
    EXPECT_EQ(scale, 1.5);
    EXPECT_EQ(p.cx, 960 + 5);
    EXPECT_EQ(p.cy, 720 + 25);
    EXPECT_EQ(p.x, 1024 + 520); // (2000 - 960) / 2
    EXPECT_EQ(p.y, 40 + 240);   // (1200 - 720) / 2

    // Larger than the work area: the largest scale at which the window fits, its height here.
    p = MenuWindowPlace(1201, 901, frame, work, 1.0, scale);
    EXPECT_EQ(p.cy, 768);
    EXPECT_EQ(p.cx, 990 + 5); // 1201 * 743 / 901 = 990.4
    EXPECT_EQ(p.y, 0);
}

TEST(MenuGeometry, DialogLayoutForTheDefaultSize) {
    MenuMetrics frame{3, 3, 19};
    ScreenMetrics m{1024, 768, frame};
    // The model's size is xsize/ysize plus the frames and the caption.
    SelectSizeLayout l = LayOutSelectSizeDialog(450 + 6, 250 + 6 + 19, m, 13, 13, 31);
    EXPECT_EQ(l.dialog.cx, 450);
    EXPECT_EQ(l.dialog.cy, 250);
    EXPECT_EQ(l.dialog.x, 287);
    EXPECT_EQ(l.dialog.y, 259);

    EXPECT_EQ((std::vector<int>{l.prompt.x, l.prompt.y, l.prompt.cx, l.prompt.cy}),
              (std::vector<int>{15, 15, 416, 13}));
    int listH = 250 - 31 - 13 - 13 - 80;
    EXPECT_EQ((std::vector<int>{l.list.x, l.list.y, l.list.cx, l.list.cy}),
              (std::vector<int>{15, 38, 416, listH}));
    // unit = (450 - 54) / 6 = 66: buttons 132, 198 and 66 wide with 10-pixel gaps.
    int top = 250 - 31 - 13 - 45;
    EXPECT_EQ((std::vector<int>{l.play.x, l.play.y, l.play.cx, l.play.cy}),
              (std::vector<int>{15, top, 132, 31}));
    EXPECT_EQ((std::vector<int>{l.visit.x, l.visit.y, l.visit.cx, l.visit.cy}),
              (std::vector<int>{157, top, 198, 31}));
    EXPECT_EQ((std::vector<int>{l.exit.x, l.exit.y, l.exit.cx, l.exit.cy}),
              (std::vector<int>{365, top, 66, 31}));
    EXPECT_EQ(l.list.y + l.list.cy + 10, top);
    EXPECT_EQ((std::vector<int>{l.notice.x, l.notice.y, l.notice.cx, l.notice.cy}),
              (std::vector<int>{15, 250 - 13 - 35, 416, 13}));
}

TEST(MenuGeometry, DialogUnitTruncatesAndLargeDialogsGoNegative) {
    ScreenMetrics m{1024, 768, MenuMetrics{4, 4, 20}};
    SelectSizeLayout l = LayOutSelectSizeDialog(1111 + 8, 801 + 28, m, 10, 10, 20);
    EXPECT_EQ(l.dialog.x, -43); // (1024 - 1111) / 2 = -43.5
    EXPECT_EQ(l.dialog.y, -16); // (768 - 801) / 2 = -16.5
    int unit = (1111 - 54) / 6; // 176.17 -> 176
    EXPECT_EQ(l.play.cx, 2 * unit);
    EXPECT_EQ(l.visit.x, 2 * unit + 25);
    EXPECT_EQ(l.exit.x, 5 * unit + 35);
    EXPECT_EQ(l.exit.cx, unit);
}

TEST(MenuCodes, ComparedWithoutCase) {
    EXPECT_EQ(ClassifySelectionCode("close"), SelectionCode::Close);
    EXPECT_EQ(ClassifySelectionCode("EXIT"), SelectionCode::Exit);
    EXPECT_EQ(ClassifySelectionCode("Visit"), SelectionCode::Visit);
    EXPECT_EQ(ClassifySelectionCode("mEnU"), SelectionCode::Menu);
    EXPECT_EQ(ClassifySelectionCode("run"), SelectionCode::Run);
    EXPECT_EQ(ClassifySelectionCode("RunClose"), SelectionCode::RunClose);
    EXPECT_EQ(ClassifySelectionCode("RUNEXIT"), SelectionCode::RunExit);
    for (const char* other : {"", "runs", "clos", "close ", " exit", "menus", "quit"})
        EXPECT_EQ(ClassifySelectionCode(other), SelectionCode::Other) << "'" << other << "'";
}

TEST(SelectSizeDialog, Commands) {
    EXPECT_EQ(ClassifySelectSizeCommand(IDC_SIZE_PLAY), SelectSizeCommand::Play);
    EXPECT_EQ(ClassifySelectSizeCommand((2u << 16) | IDC_SIZE_LIST), SelectSizeCommand::Play);
    EXPECT_EQ(ClassifySelectSizeCommand((1u << 16) | IDC_SIZE_LIST), SelectSizeCommand::None);
    EXPECT_EQ(ClassifySelectSizeCommand(IDC_SIZE_VISIT), SelectSizeCommand::Visit);
    EXPECT_EQ(ClassifySelectSizeCommand(IDC_SIZE_EXIT), SelectSizeCommand::Exit);
    EXPECT_EQ(ClassifySelectSizeCommand(1), SelectSizeCommand::None); // IDOK is not play
    EXPECT_EQ(ClassifySelectSizeCommand(IDC_SIZE_PROMPT), SelectSizeCommand::None);
}

TEST(SelectSizeDialog, ChoiceMustNameASelection) {
    EXPECT_EQ(SelectSizeChoice(0, 3), 0);
    EXPECT_EQ(SelectSizeChoice(2, 3), 2);
    EXPECT_EQ(SelectSizeChoice(3, 3), -1);
    EXPECT_EQ(SelectSizeChoice(-1, 3), -1); // LB_ERR: no line selected
    EXPECT_EQ(SelectSizeChoice(0x100000000LL, 3), -1);
}

TEST(MenuExitScreen, OnlyWithAnImageAndNotFromItself) {
    EXPECT_TRUE(OpensExitScreen("bye.gif", "Settings"));
    EXPECT_FALSE(OpensExitScreen("", "Settings"));
    EXPECT_FALSE(OpensExitScreen("bye.gif", kExitScreenSection));
    EXPECT_FALSE(OpensExitScreen("bye.gif", "ExitNag"));
    EXPECT_TRUE(OpensExitScreen("bye.gif", "exitnag2"));
}
