// libFuzzer target: every menu that an arbitrary configuration text names (its sections, the
// first menu and the exit screen) loaded as the launcher loads it, then driven as its window and
// a launch would: the rectangles of every selection, focus, ticks, keys, clicks, paint, the
// window and dialog places, and what each selection's run would do (kind, path, display mode,
// game screen).
#include "fuzz_support.h"

#include "base/config_names.h"
#include "menu/launch.h"
#include "menu/menu_config.h"
#include "menu/menu_layout.h"
#include "menu/menu_messages.h"
#include "menu/run_settings.h"
#include "screen/display_mode.h"
#include "screen/game_screen.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>

namespace {

// Every text is as wide as seven pixels a character and sixteen high.
class CFixedMeasure : public IMenuTextMeasure {
  public:
    void MeasureText(const char* text, int& width, int& height) override {
        width = static_cast<int>(std::strlen(text)) * 7;
        height = 16;
    }
};

// A display that lists a few modes of every depth and has 1024 x 768 at 32 bits now.
class CFakeDisplay : public IDisplayDevice {
  public:
    int EnumSettings(std::uint32_t modeNum, DisplaySettings& mode) override {
        static const std::uint32_t sizes[][2] = {{640, 480}, {800, 600}, {1024, 768}};
        static const std::uint32_t depths[] = {8, 16, 32};
        if (modeNum == kEnumCurrentSettings)
            modeNum = 8;
        if (modeNum >= 9)
            return 0;
        mode.dmPelsWidth = sizes[modeNum % 3][0];
        mode.dmPelsHeight = sizes[modeNum % 3][1];
        mode.dmBitsPerPel = depths[modeNum / 3];
        mode.dmDisplayFrequency = 60;
        return 1;
    }
    long ChangeSettings(const DisplaySettings&) override { return kDispChangeSuccessful; }
};

void Drive(CMenuModel& model, IMenuTextMeasure& measure) {
    const ScreenMetrics screen{1024, 768, MenuMetrics{3, 3, 19}};
    double scale = 0;
    MenuWindowPlace(model.nWidth, model.nHeight, screen.frame, ScreenRect{0, 0, 1024, 768}, 1.5,
                    scale);
    LayOutSelectSizeDialog(model.nWidth, model.nHeight, screen, 13, 26, 23);
    OpensExitScreen(model.strTitleImage, model.strSection);
    MenuFocusState state; // the window's focus starts on the first selection
    for (int tick = 0; tick < 7; ++tick)
        MenuTimerTick(model, state, measure);
    MenuPlanPaint(model, state, true, measure);
    for (int key : {kKeyReturn, kKeyEscape, kKeySpace, kKeyLeft, kKeyUp, kKeyRight, kKeyDown})
        MenuKeyDown(model, state, key, measure);

    CFakeDisplay display;
    CDisplayMode modes(&display);
    for (int i = 0; i < model.nSelections && i < MAX_SELECTIONS; ++i) {
        const MenuSelection& sel = model.sel[i];
        MenuRect hotSpot, descBox;
        CalcSelectionRects(sel, measure, hotSpot, descBox);
        MenuSetFocus(model, state, i, measure);
        MenuPlanPaint(model, state, true, measure);
        // Clicks at the hot spot's corners, where a mouse message can point (0 to 65535).
        int indices[MAX_SELECTIONS];
        auto mouse = [](int v) { return v < 0 ? 0 : v > 65535 ? 65535 : v; };
        for (int x : {hotSpot.left, hotSpot.right})
            for (int y : {hotSpot.top, hotSpot.bottom}) {
                MenuHitTest(model, mouse(x), mouse(y));
                MenuClickTargets(model, mouse(x), mouse(y), indices);
            }

        SelectionCode code = ClassifySelectionCode(sel.strCode);
        CloseKindFor(true, code);
        GameKind kind = FindGameKind(sel.strUrl);
        GameKindOf(kind);
        MissingControlOf(kind);
        IsWebAddress(sel.strUrl);
        char path[TEXT_MAX];
        ResolveSelectionPath(path, sizeof path, "C:\\Games\\Star Courier", sel.strUrl);
        int changed = modes.CalcDisplayMode(sel.bScreenFull, sel.nScreenWidth, sel.nScreenHeight,
                                            sel.nColorDepth);
        if (changed)
            modes.ChangeDisplayMode(1);
        modes.ChangeDisplayMode(0);
        GameScreenRequest request{sel.bScreenFull && changed,
                                  sel.nScreenWidth,
                                  sel.nScreenHeight,
                                  sel.nGameWidth,
                                  sel.nGameHeight,
                                  sel.bScreenFull,
                                  sel.bCloseBtn,
                                  sel.bShowCursor,
                                  sel.fullScreenWay};
        GameScreenLayout layout =
            LayoutGameScreen(request, GameScreenMetrics{1024, 768, 6, 25, 0, 0, 1.5});
        int x, y, width, height;
        PlaceLogo(layout, 200, 100, x, y, width, height);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CIniProfile ini = CIniProfile::FromText(text);
    RunSettings run;
    ReadRunSettings(ini, run);
    std::set<std::string> sections = {kFirstMenuSection, kExitScreenSection};
    for (const IniItem& item : ParseIniItems(text)) {
        if (item.bSection && sections.size() < 32)
            sections.insert(item.name);
    }
    CFixedMeasure measure;
    for (const std::string& section : sections) {
        auto model = std::make_unique<CMenuModel>();
        MenuLoadError failure = LoadMenuModel(ini, section.c_str(), run.pad, run.fullScreen,
                                              MenuMetrics{3, 3, 19}, *model);
        if (!failure.Failed()) {
            Drive(*model, measure);
            continue;
        }
        char error[TEXT_MAX * 3];
        std::memset(error, '#', sizeof error);
        FormatMenuLoadError(failure, kConfigFileName, error, sizeof error);
        if (std::memchr(error, '\0', sizeof error) == nullptr)
            std::abort(); // an error text must be terminated within its buffer
    }
    return 0;
}
