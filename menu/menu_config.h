// The menu model: one section of the configuration file read into a title, a title image,
// the labels of the screen-size dialog and at most MAX_SELECTIONS selections.
#pragma once

#include "base/text.h"
#include "platform/pad.h"
#include "platform/profile.h"
#include "screen/screen_geometry.h"

constexpr int MAX_SELECTIONS = 20;

// One hot spot of the title screen (or one line of the screen-size dialog) and everything
// needed to run it. Colours are 0xRRGGBB.
struct MenuSelection {
    int bScreenFull;
    int nScreenWidth, nScreenHeight;
    int nColorDepth;
    int nGameWidth, nGameHeight;
    char strDesc[TEXT_MAX];
    char strUrl[TEXT_MAX];
    int clrScreenBg;
    int clrGameBg;
    int nPosX, nPosY, nPosWidth, nPosHeight;
    char strCode[TEXT_MAX];
    int clrFocus;
    int bShowCursor;
    int bCloseBtn;
    int bCloseOnEvent;
    int nQuality;
    // The keys a game controller sends to the game: the default mapping, with the `pad` of the
    // section "settings" and then this selection's `selpad` laid over it.
    PadMapping pad;
    // How a full-screen game gets its screen: `fullscreen` of the section "settings", with this
    // selection's `selfullscreen` over it (a value that names no way leaves the one below it).
    FullScreenWay fullScreenWay;
};

// System metrics that size the menu's window or dialog.
struct MenuMetrics {
    int cxDlgFrame;
    int cyDlgFrame;
    int cyCaption;
};

struct CMenuModel {
    int bHasTitleImage = 0;
    int nWidth = 0;
    int nHeight = 0;
    char strSection[TEXT_MAX] = "";
    char strTitle[TEXT_MAX] = "";
    char strPlayTitle[TEXT_MAX] = "";
    char strExitTitle[TEXT_MAX] = "";
    char strVisitTitle[TEXT_MAX] = "";
    char strVisitUrl[TEXT_MAX] = "";
    char strTitleImage[TEXT_MAX] = "";
    int nSelections = 0;
    int nDefaultSelection = 0;
    MenuSelection sel[MAX_SELECTIONS] = {};
    int nDialogChoice = 0;
};

// Reads a menu section into the model: every key, default and error of the menu schema, the
// controller mapping of each selection (with `pad` of the section "settings"), and the content
// size from xsize/ysize and the metrics. The title image is named in
// strTitleImage but not loaded here. Returns 1, or 0 with the error text the user must see
// (configPath names the configuration file in the texts).
int LoadMenuModel(IProfileReader& profile, const char* section, const char* configPath,
                  const MenuMetrics& metrics, CMenuModel& model, char* error,
                  std::size_t errorSize);

// The error text of a title image that does not load (printf format taking the program's name
// and the image's file name as written in the configuration).
extern const char* const kTitleImageFailedFormat;

// The hexadecimal value of a colour text (red first), or 0 for anything that is not one.
int HexToColor(const char* text);

// 1 when the first character is Y, y, T or t.
int IsYes(const char* text);

// The Flash quality 1..5 named by a quality word (LOW, AUTOLOW, MEDIUM, AUTOHIGH; any other
// text is 4).
int QualityFromText(const char* text);

// Converts up to count comma-separated integers the way "%d,%d,..." scans them: blanks before
// a number are allowed, a blank before a comma stops the scan. Returns how many converted.
int ScanIntList(const char* text, int* values, int count);
