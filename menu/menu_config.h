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
    // The keys a game controller sends to the game: the run's mapping (`pad` of the section
    // "settings" over the default) with this selection's `selpad` laid over it.
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

// What went wrong when a menu did not load: its kind and the operands its text names.
// FormatMenuLoadError (menu/menu_messages.h) makes the text the user sees.
enum class MenuLoadErrorKind {
    None,
    SectionNameTooLong, // the section's name is longer than nLimit characters
    TooManySelections,  // numselections=nCount is more than nLimit
    NotEnoughValues,    // the number list strKey holds too few numbers
    NoSelections,       // the section has no selections (or does not exist)
    TitleImageFailed,   // the title image strName does not load
};

struct MenuLoadError {
    MenuLoadErrorKind kind = MenuLoadErrorKind::None;
    int nCount = 0;
    int nLimit = 0;
    char strKey[64] = "";
    char strName[TEXT_MAX] = "";

    bool Failed() const { return kind != MenuLoadErrorKind::None; }
};

// Reads a menu section into the model: every key, default and error of the menu schema, the
// controller mapping of each selection (its `selpad` laid over padBase, the run's mapping), the
// way of each selection's full screen (its `selfullscreen` over wayBase, the run's), and the
// content size from xsize/ysize and the metrics. The title image is named in strTitleImage
// but not loaded here. Returns what went wrong, or an error of kind None.
MenuLoadError LoadMenuModel(IProfileReader& profile, const char* section, const PadMapping& padBase,
                            FullScreenWay wayBase, const MenuMetrics& metrics, CMenuModel& model);

// The hexadecimal value of a colour text (red first), or 0 for anything that is not one.
int HexToColor(const char* text);

// The Flash quality 1..5 named by a quality word (LOW, AUTOLOW, MEDIUM, AUTOHIGH; any other
// text is 4).
int QualityFromText(const char* text);

// Converts up to count comma-separated integers the way "%d,%d,..." scans them: blanks before
// a number are allowed, a blank before a comma stops the scan. Returns how many converted.
int ScanIntList(const char* text, int* values, int count);
