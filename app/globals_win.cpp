// The process-wide objects, in one translation unit so that they are built in this order and
// destroyed in the reverse order when the program ends.
#include "base/globals_win.h"
#include "host/library_win.h"
#include "image/gif.h"
#include "menu/menu_wnd_win.h"
#include "platform/pad_win.h"
#include "screen/browser_table_win.h"
#include "screen/display_mode_win.h"

HINSTANCE g_hInstance = nullptr;
CDisplayMode g_DisplayMode(WinDisplayDevice());
CBrowserTable g_BrowserTable;
CGifImage g_imgLogo;
CAtlLibrary g_AtlLib;
CPadReader g_Pads;
// Built last, so destroyed first: the menu objects still in the table are freed while
// everything they may use is still there.
CWinFuncsTable g_WindowTable;
