// The process-wide state of the Windows program: the portable globals, the instance handle and
// the logo decoded at start-up. The objects whose order of destruction matters (display mode,
// game screens, menus, the container library) are declared by their own rooms and defined
// together by the program's top.
#pragma once

#include "base/globals.h"

#include <windows.h>

class CGifImage;

extern HINSTANCE g_hInstance;
extern CGifImage g_imgLogo;
