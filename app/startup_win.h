// The program's start-up and its one message loop.
#pragma once

#include "base/globals_win.h"

// Starts the program with its command line (after the program's name, as wide text), runs the
// message loop until the quit message and returns the exit code.
int RunTovak(HINSTANCE hInstance, const wchar_t* cmdLine, int nShowCmd);
