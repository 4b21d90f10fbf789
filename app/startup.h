// Start-up decisions that need no Windows: where the configuration file is, whether the
// diagnostic log is on, and in which order the window classes are registered.
#pragma once

#include "base/globals.h"

#include <string>

// Exit codes of the program.
enum ExitCode { EXIT_OK = 0, EXIT_MENU_FAILED = 1, EXIT_STARTUP_FAILED = 18 };

// Sets g_szWorkDir to workDir and g_szIniFile to the working directory joined with the command
// line's first token (default "tovak.ini"). A working directory, token or joined path that does
// not fit its buffer is refused: the result is false and error holds the text to show.
bool ResolveConfigPath(const char* workDir, const char* cmdLine, std::string& error);

// The four window classes, in the order they are registered, with the message shown when one
// fails. Registration stops at the first failure.
struct WindowClassName {
    const char* name;
    const char* failure;
};
constexpr int WINDOW_CLASS_COUNT = 4;
extern const WindowClassName kWindowClasses[WINDOW_CLASS_COUNT];

// The classes from this index on are those of game screens; a title screen needs only the ones
// before it.
constexpr int GAME_WINDOW_CLASSES_FIRST = 1;

// Registers the classes first to end - 1 in order with registerClass(index); returns the failure
// message of the first class that fails, or nullptr when all of them are registered.
template <typename Register>
const char* RegisterWindowClasses(Register registerClass, int first = 0,
                                  int end = WINDOW_CLASS_COUNT) {
    for (int i = first; i < end; ++i) {
        if (!registerClass(i))
            return kWindowClasses[i].failure;
    }
    return nullptr;
}
