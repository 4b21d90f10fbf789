#include "app/crash_filter_win.h"
#include "app/startup_win.h"
#include "screen/monitors_win.h"

// The wide entry point: the command line reaches the program whole, in any script.
int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nShowCmd) {
    InstallCrashFilter();
    EnsureDpiAwareness();
    return RunTovak(hInstance, lpCmdLine, nShowCmd);
}
