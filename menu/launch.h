// What a "run" selection launches and where, decided from its texts alone: the kind of game
// found in the file name, the path resolved against the working directory, and what happens
// to the launching menu when the game screen closes.
#pragma once

#include "menu/menu_layout.h"
#include "screen/game_screen.h"

#include <cstddef>

enum class GameKind { None, Executable, Shockwave, Flash, WebPage };

// What the launcher needs to know of one kind of game.
struct GameKindInfo {
    GameKind kind;
    const char* progId; // the control that must be installed; null for executables
    int nBrowserType;   // host kind of the game screen; 0 for executables
    const char* marker; // progress marker of the launch
};

// The kind of game a path names, found by upper-casing it and looking for ".EXE", ".DCR",
// ".SWF", then ".HTM" anywhere in it (the first found wins; ".HTML" contains ".HTM").
GameKind FindGameKind(const char* path);
const GameKindInfo& GameKindOf(GameKind kind);

// The game screen's close kind for a run code: the program ends when there is no launching
// window or the code is "runexit", the menu closes for "runclose", and otherwise it comes back.
int CloseKindFor(bool bHasWindow, SelectionCode code);

// The game screen a selection of a control kind opens: the selection's display mode, colours,
// sizes, cursor, close button and quality, the menu's title, and the close kind and
// close-on-event flag of its run code. bHasWindow: a launching menu window will be parked.
GameScreenOptions GameScreenOptionsFor(const MenuSelection& s, GameKind kind, const char* strTitle,
                                       bool bHasWindow);

// Texts of the launch's error boxes (printf formats taking the path).
extern const char* const kLaunchExecFailedFormat;
extern const char* const kLaunchInvalidTypeFormat;
extern const char* const kLaunchPathTooLongFormat;

// The question box shown when a game's control is not installed, and the download page it
// offers.
struct MissingControlOffer {
    const char* caption;
    const char* text;
    const char* page;
};
// The offer for a game kind that needs a control; null for the others.
const MissingControlOffer* MissingControlOf(GameKind kind);
