// The program's start-up and its one message loop.
#pragma once

#include <windows.h>

extern HINSTANCE g_hInstance;

// Where the browser maker's download pages live.
extern const char* const kBrowserMakerDomain;
extern const char* const kBrowserDownloadUrl;

// Starts the program, runs the message loop until the quit message and returns the exit code.
int RunTovak(HINSTANCE hInstance, const char* cmdLine, int nShowCmd);
