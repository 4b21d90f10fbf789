#include "menu/menu_layout.h"

#include "base/config_names.h"

#include <algorithm>

#include "base/int_range.h"
#include "base/text.h"

namespace {

// The focused selection, or null when the focus names none.
const MenuSelection* FocusedSelection(const CMenuModel& model, int index) {
    if (index < 0 || index >= model.nSelections || index >= MAX_SELECTIONS)
        return nullptr;
    return &model.sel[index];
}

// The invalidation of a selection that loses the focus: its frame and its description box.
void AddOldFocus(const CMenuModel& model, int old, IMenuTextMeasure& measure,
                 MenuInvalidation& out) {
    const MenuSelection* sel = FocusedSelection(model, old);
    if (!sel)
        return;
    MenuRect hot, desc;
    CalcSelectionRects(*sel, measure, hot, desc);
    out.Add(hot);
    out.Add(desc);
}

void AddNewFocus(const CMenuModel& model, int index, MenuInvalidation& out) {
    if (const MenuSelection* sel = FocusedSelection(model, index))
        out.Add(HotSpotRect(*sel));
}

} // namespace

bool PointInRect(const MenuRect& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

MenuRect InflatedRect(const MenuRect& rect, int d) {
    return MenuRect{SaturatedInt(WideInt(rect.left) - d), SaturatedInt(WideInt(rect.top) - d),
                    SaturatedInt(WideInt(rect.right) + d), SaturatedInt(WideInt(rect.bottom) + d)};
}

void MenuInvalidation::Add(const MenuRect& rect) {
    // The box of a selection without description invalidates nothing.
    if (rect == kNoDescriptionBox || count >= 3)
        return;
    rects[count++] = rect;
}

MenuRect HotSpotRect(const MenuSelection& sel) {
    return MenuRect{sel.nPosX, sel.nPosY, SaturatedInt(WideInt(sel.nPosX) + sel.nPosWidth),
                    SaturatedInt(WideInt(sel.nPosY) + sel.nPosHeight)};
}

MenuRect DescriptionBoxRect(const MenuSelection& sel, int textWidth, int textHeight) {
    MenuRect box;
    WideInt top = sel.nPosY + (WideInt(sel.nPosHeight) - 25) / 2;
    WideInt left = (WideInt(sel.nPosWidth) - textWidth) / 2 + sel.nPosX - 5;
    box.top = SaturatedInt(top);
    box.bottom = SaturatedInt(top + textHeight);
    box.left = SaturatedInt(left);
    box.right = SaturatedInt(left + textWidth + 10);
    return box;
}

void CalcSelectionRects(const MenuSelection& sel, IMenuTextMeasure& measure, MenuRect& hotSpot,
                        MenuRect& descBox) {
    hotSpot = HotSpotRect(sel);
    if (sel.strDesc[0] == '\0') {
        descBox = kNoDescriptionBox;
        return;
    }
    int width = 0, height = 0;
    measure.MeasureText(sel.strDesc, width, height);
    descBox = DescriptionBoxRect(sel, width, height);
}

MenuInvalidation MenuTimerTick(const CMenuModel& model, MenuFocusState& state,
                               IMenuTextMeasure& measure) {
    MenuInvalidation out;
    ++state.nTicks;
    const MenuSelection* sel = FocusedSelection(model, state.nFocus);
    if (!sel)
        return out;
    if (state.nTicks % 2 == 0)
        out.Add(HotSpotRect(*sel));
    if (sel->strDesc[0] != '\0' && state.nTicks == 6) {
        MenuRect hot, desc;
        CalcSelectionRects(*sel, measure, hot, desc);
        out.Add(desc);
    }
    return out;
}

MenuInvalidation MenuSetFocus(const CMenuModel& model, MenuFocusState& state, int index,
                              IMenuTextMeasure& measure) {
    MenuInvalidation out;
    if (index == state.nFocus)
        return out;
    int old = state.nFocus;
    state.nTicks = 0;
    state.nFocus = index;
    AddOldFocus(model, old, measure, out);
    AddNewFocus(model, index, out);
    return out;
}

MenuKeyResult MenuKeyDown(const CMenuModel& model, MenuFocusState& state, int virtualKey,
                          IMenuTextMeasure& measure) {
    MenuKeyResult result;
    int old = state.nFocus;
    switch (virtualKey) {
    case kKeyReturn:
    case kKeySpace:
        result.action = MenuKeyAction::Activate;
        result.nActivate = old;
        break;
    case kKeyEscape:
        result.action = MenuKeyAction::Close;
        break;
    case kKeyLeft:
    case kKeyUp:
        state.nFocus = old - 1;
        if (state.nFocus < 0)
            state.nFocus = model.nSelections - 1;
        break;
    case kKeyRight:
    case kKeyDown:
        state.nFocus = old + 1;
        if (state.nFocus >= model.nSelections)
            state.nFocus = 0;
        break;
    default:
        break;
    }
    if (state.nFocus != old) {
        state.nTicks = 0;
        AddOldFocus(model, old, measure, result.invalidation);
        AddNewFocus(model, state.nFocus, result.invalidation);
    }
    return result;
}

void MenuPointFromLParam(std::uint32_t lParam, int& x, int& y) {
    x = static_cast<int>(lParam & 0xFFFFu);
    y = static_cast<int>((lParam >> 16) & 0xFFFFu);
}

int MenuHitTest(const CMenuModel& model, int x, int y) {
    for (int i = 0; i < model.nSelections && i < MAX_SELECTIONS; ++i) {
        if (PointInRect(HotSpotRect(model.sel[i]), x, y))
            return i;
    }
    return -1;
}

int MenuClickTargets(const CMenuModel& model, int x, int y, int* indices) {
    int count = 0;
    for (int i = 0; i < model.nSelections && i < MAX_SELECTIONS; ++i) {
        if (PointInRect(HotSpotRect(model.sel[i]), x, y))
            indices[count++] = i;
    }
    return count;
}

MenuPaintPlan MenuPlanPaint(const CMenuModel& model, const MenuFocusState& state,
                            bool hasKeyboardFocus, IMenuTextMeasure& measure) {
    MenuPaintPlan plan;
    const MenuSelection* sel = FocusedSelection(model, state.nFocus);
    if (!sel)
        return plan;
    MenuRect hot, desc;
    CalcSelectionRects(*sel, measure, hot, desc);
    if ((state.nTicks / 2) % 2 == 0 && hasKeyboardFocus) {
        plan.bFrame = true;
        plan.frameColor = ColorToColorRef(sel->clrFocus);
        plan.frameRings[0] = hot;
        plan.frameRings[1] = InflatedRect(hot, -1);
        plan.frameRings[2] = InflatedRect(hot, -2);
    }
    if (state.nTicks >= 6 && sel->strDesc[0] != '\0') {
        plan.bDescription = true;
        plan.descFrame = desc;
        plan.descFill = InflatedRect(desc, -1);
        plan.text = sel->strDesc;
    }
    return plan;
}

WindowPlace MenuWindowPlace(int nWidth, int nHeight, const MenuMetrics& frame,
                            const ScreenRect& work, double wanted, double& scale) {
    int frameWidth = SaturatedInt(2 * WideInt(frame.cxDlgFrame) - 1);
    int frameHeight = SaturatedInt(2 * WideInt(frame.cyDlgFrame) + frame.cyCaption);
    scale = FitScale(nWidth, nHeight, frameWidth, frameHeight, work, wanted);
    WindowPlace place;
    place.cx = SaturatedInt(WideInt(ScaleLength(nWidth, scale)) + frameWidth);
    place.cy = SaturatedInt(WideInt(ScaleLength(nHeight, scale)) + frameHeight);
    // The content is centred, as the window always was; a window that fits the work area is
    // then moved into it where its frame would stick out.
    CentreIn(work, ScaleLength(nWidth, scale), ScaleLength(nHeight, scale), place.x, place.y);
    if (place.cx <= work.Width())
        place.x =
            std::max(work.left, std::min(place.x, SaturatedInt(WideInt(work.right) - place.cx)));
    if (place.cy <= work.Height())
        place.y =
            std::max(work.top, std::min(place.y, SaturatedInt(WideInt(work.bottom) - place.cy)));
    return place;
}

SelectSizeLayout LayOutSelectSizeDialog(int nWidth, int nHeight, const ScreenMetrics& metrics,
                                        int textH, int noticeH, int buttonH) {
    SelectSizeLayout layout;
    auto fit = [](WideInt v) { return SaturatedInt(v); };
    int cx = fit(WideInt(nWidth) - 2 * WideInt(metrics.frame.cxDlgFrame));
    int cy =
        fit(WideInt(nHeight) - 2 * WideInt(metrics.frame.cyDlgFrame) - metrics.frame.cyCaption);
    layout.dialog = WindowPlace{fit((WideInt(metrics.cxScreen) - cx) / 2),
                                fit((WideInt(metrics.cyScreen) - cy) / 2), cx, cy};

    int innerWidth = fit(WideInt(cx) - 34);
    layout.prompt = WindowPlace{15, 15, innerWidth, textH};
    int listTop = fit(WideInt(textH) + 25);
    int listH = fit(WideInt(cy) - buttonH - noticeH - textH - 80);
    layout.list = WindowPlace{15, listTop, innerWidth, listH};

    WideInt unit = (WideInt(cx) - 54) / 6;
    int buttonTop = fit(WideInt(listTop) + listH + 10);
    layout.play = WindowPlace{15, buttonTop, fit(2 * unit), buttonH};
    layout.visit = WindowPlace{fit(2 * unit + 25), buttonTop, fit(3 * unit), buttonH};
    layout.exit = WindowPlace{fit(5 * unit + 35), buttonTop, fit(unit), buttonH};
    layout.notice = WindowPlace{15, fit(WideInt(buttonTop) + buttonH + 10), innerWidth, noticeH};
    return layout;
}

SelectionCode ClassifySelectionCode(const char* code) {
    static const struct {
        const char* text;
        SelectionCode code;
    } kCodes[] = {
        {"close", SelectionCode::Close},     {"exit", SelectionCode::Exit},
        {"visit", SelectionCode::Visit},     {"menu", SelectionCode::Menu},
        {"run", SelectionCode::Run},         {"runclose", SelectionCode::RunClose},
        {"runexit", SelectionCode::RunExit},
    };
    for (const auto& entry : kCodes) {
        if (EqualsNoCase(code, entry.text))
            return entry.code;
    }
    return SelectionCode::Other;
}

SelectSizeCommand ClassifySelectSizeCommand(std::uint32_t wParam) {
    unsigned id = wParam & 0xFFFFu;
    unsigned notification = (wParam >> 16) & 0xFFFFu;
    if (notification == 2 || id == IDC_SIZE_PLAY)
        return SelectSizeCommand::Play;
    if (id == IDC_SIZE_VISIT)
        return SelectSizeCommand::Visit;
    if (id == IDC_SIZE_EXIT)
        return SelectSizeCommand::Exit;
    return SelectSizeCommand::None;
}

int SelectSizeChoice(long long itemData, int nSelections) {
    if (itemData < 0 || itemData >= nSelections || itemData >= MAX_SELECTIONS)
        return -1;
    return static_cast<int>(itemData);
}

bool OpensExitScreen(const char* exitTitleImage, const char* section) {
    return exitTitleImage[0] != '\0' && !EqualsNoCase(section, kExitScreenSection);
}
