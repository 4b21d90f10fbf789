// Substitute players: programs that a publisher names in the section "settings" to play a kind
// of game where its control is missing (or always), the command line each one gets, and the
// other settings that hold for every launch of the run.
#pragma once

#include "base/text.h"
#include "menu/launch.h"

#include <cstddef>

// The launch settings of the whole run (part of RunSettings, menu/run_settings.h): read once at
// start-up from the section "settings", whichever menu runs a game.
struct LaunchSettings {
    // Command lines of the players of Flash, Shockwave and web-page games; empty: none.
    char strSwfPlayer[TEXT_MAX] = "";
    char strDcrPlayer[TEXT_MAX] = "";
    char strHtmPlayer[TEXT_MAX] = "";
    // A configured player plays its kind even where the kind's control is installed.
    int bPlayerFirst = 0;
    // The web browser control is asked, once per run, for its newest document mode.
    int bBrowserEmulation = 1;
};

// The player of a kind of game: the key that names it and its command line as configured
// (empty when none is). Executables and unknown kinds have no key (null) and no player.
struct PlayerCommand {
    const char* key;
    const char* command;
};
PlayerCommand PlayerFor(const LaunchSettings& settings, GameKind kind);

// Whether the kind's player plays the game instead of the game screen: a player must be
// configured, and then a web page always goes to it (the browser control is on every
// machine, so naming a page player means wanting it), a movie when its control is missing or
// when the settings put players first.
bool PlayerTakesGame(const LaunchSettings& settings, GameKind kind, bool bControlInstalled);

// The longest command line a player is started with, terminator included: room for its
// program and the game's path a few times over.
constexpr std::size_t kPlayerCommandMax = 4 * TEXT_MAX;

// The program a player's command line names, as written: its quoted first part, or its first
// word (up to a blank). A quote that is never closed runs to the end. Copies it into program
// and returns the text after it, or returns null when it does not fit.
const char* SplitPlayerProgram(const char* command, char* program, std::size_t size);

// The program to start and its whole command line, from a player's configured command line.
// The program is the command's first part, joined to the working directory unless it names
// its place whole; the command line starts with it in quotes. In the arguments after it every
// "%1" becomes the game's path as it is; without any "%1" the path in quotes is appended.
// False, leaving both empty, when the program's path or the command line does not fit.
bool MakePlayerCommand(const char* command, const char* workDir, const char* gamePath,
                       char* programPath, std::size_t programSize, char* commandLine,
                       std::size_t commandSize);

// Texts of the player's error boxes: the program as started and the key that names it, or
// (too long) only the key.
extern const char* const kPlayerMissingFormat;
extern const char* const kPlayerStartFailedFormat;
extern const char* const kPlayerCommandTooLongFormat;
