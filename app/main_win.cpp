#include "app/startup_win.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nShowCmd) {
    return RunTovak(hInstance, lpCmdLine, nShowCmd);
}
