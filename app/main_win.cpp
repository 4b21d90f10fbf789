#include "app/crash_filter_win.h"
#include "app/startup_win.h"
#include "screen/monitors_win.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nShowCmd) {
    InstallCrashFilter();
    EnsureDpiAwareness();
    return RunTovak(hInstance, lpCmdLine, nShowCmd);
}
