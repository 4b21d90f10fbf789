#include "app/startup_win.h"

#include "base/config_names.h"
#include "base/diag.h"
#include "base/program.h"
#include "base/system_library_win.h"
#include "base/wide_win.h"
#include "host/library_win.h"
#include "app/startup.h"
#include "image/gif.h"
#include "menu/menu_wnd_win.h"
#include "menu/run_settings.h"
#include "platform/pad_win.h"
#include "platform/profile.h"
#include "platform/profile_win.h"
#include "resources/resource.h"
#include "screen/browser_table_win.h"
#include "screen/game_screen_win.h"
#include "screen/separate_browser_win.h"

#include <objbase.h>

#include <string>

namespace {

const char* const kAtlMissingCaption = "ATL DLL Library Not Found";
const char* const kAtlMissingText =
    "The ATL DLL library was not found and it is required to play the game\n\n"
    "ATL DLL comes with Microsoft Internet Explorer 5 or greater.\n\n"
    "Would you like to go to the Microsoft website to download Internet Explorer?\n\n"
    "Note: You must be connected to the internet.\n\n"
    "Also note AOL users, you may also upgrade to a newer version of AOL to also get this.";

WNDPROC WindowProcedureOf(int index) {
    switch (index) {
    case 0:
        return WinFuncsWndProc;
    case 1:
        return ClientHostWndProc;
    case 2:
        return LoadLogoWndProc;
    default:
        return CloseBtnWndProc;
    }
}

bool RegisterOneClass(int index) {
    // The icons are looked up once for the four classes. The resources hold no small icon of
    // their own (108), so the small image is taken from icon 107, as the system would do for
    // every class registered without one (slowly, on some systems).
    static const HICON icon = LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_TOVAK));
    static const HICON smallIcon = static_cast<HICON>(
        LoadImageW(g_hInstance, MAKEINTRESOURCEW(IDI_TOVAK), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    std::wstring name = Wide(kWindowClasses[index].name);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    wc.lpfnWndProc = WindowProcedureOf(index);
    wc.hInstance = g_hInstance;
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.hCursor = ArrowCursor();
    wc.lpszClassName = name.c_str();
    return RegisterClassExW(&wc) != 0;
}

// The box of a missing container library, and its offer of the download page.
void OfferContainerDownload() {
    if (MessageBoxW(nullptr, Wide(kAtlMissingText).c_str(), Wide(kAtlMissingCaption).c_str(),
                    MB_YESNO | MB_ICONQUESTION) == IDYES)
        OpenSeparateBrowser(kBrowserDownloadUrl);
}

// Loads what launches need and the title screen does not: the game screens' window classes,
// the container library (found present before any window), COM, and the logo that game
// screens show. 0, or the exit code after the failure's box; a title screen already shown is
// hidden before the box, which the player sees alone as when it came before any window.
int FinishStartup(HWND titleWindow) {
    auto failed = [titleWindow] {
        if (titleWindow)
            ShowWindow(titleWindow, SW_HIDE);
        return EXIT_STARTUP_FAILED;
    };
    if (const char* failure = RegisterWindowClasses(RegisterOneClass, GAME_WINDOW_CLASSES_FIRST)) {
        int code = failed();
        ShowError(failure);
        return code;
    }
    if (!g_AtlLib.Load(kContainerLibraryName)) {
        int code = failed();
        OfferContainerDownload();
        return code;
    }

    WriteLog("WinMain at3");
    if (!g_AtlLib.AxWinInit()) {
        std::string text = "Failed to call AtlAxWinInit in atl.dll\n\nYou must be using Internet "
                           "Explorer 5 or later.\n\nNote: AOL users please either upgrade to "
                           "newer version of AOL or go to ";
        text += kBrowserMakerDomain;
        text += " to download and install Internet Explorer 5 or later.";
        int code = failed();
        ShowError(text.c_str());
        return code;
    }

    WriteLog("WinMain at4");
    // S_FALSE only says that COM is already initialised on this thread (the container library
    // may have done so): that is success too.
    HRESULT hr = com::Initialize();
    if (hr != S_OK && hr != S_FALSE) {
        int code = failed();
        ShowError("CoInitialize failed");
        return code;
    }

    WriteLog("WinMain at5");
    g_imgLogo.Load(kLogoFileName); // a missing or bad logo only means no logo window
    return 0;
}

} // namespace

int RunTovak(HINSTANCE hInstance, const wchar_t* wideCmdLine, int nShowCmd) {
    wchar_t wideWorkDir[MAX_PATH * 4] = L"";
    DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, wideWorkDir);
    if (length == 0 || length >= MAX_PATH * 4)
        wideWorkDir[0] = L'\0';
    std::string workDir = Utf8Of(wideWorkDir);
    std::string cmdLine = Utf8Of(wideCmdLine);
    g_hInstance = hInstance;
    g_bLogEnabled = 0;
    std::string error;
    if (!ResolveConfigPath(workDir.c_str(), cmdLine.c_str(), error)) {
        ShowError(error.c_str());
        return EXIT_STARTUP_FAILED;
    }

    // The title screen's class; those of game screens come with the rest of start-up.
    if (const char* failure =
            RegisterWindowClasses(RegisterOneClass, 0, GAME_WINDOW_CLASSES_FIRST)) {
        ShowError(failure);
        return EXIT_STARTUP_FAILED;
    }

    // The run's settings are read once, here, and handed down to every menu: from one copy of
    // the file, by the reader that answers as the system's profile functions do. The first
    // menu is read from the same copy.
    RunSettings settings;
    CIniProfile profile = CIniProfile::FromFile(g_szIniFile, WinProfileCodec());
    ReadRunSettings(profile, settings);
    CopyText(g_szLogFile, sizeof g_szLogFile, settings.log.strFile);
    g_bLogEnabled = settings.log.bEnabled;
    WriteLog("WinMain at1");
    // pad=N: no controller is ever read.
    if (settings.pad.bOn)
        g_Pads.Enable();

    SetCursor(ArrowCursor());
    WriteLog("WinMain at2");

    // A missing container library ends the program before any window; it is loaded, with
    // COM, when the title screen is up (FinishStartup).
    if (!CAtlLibrary::Present(kContainerLibraryName)) {
        OfferContainerDownload();
        return EXIT_STARTUP_FAILED;
    }

    // Game screens still in the table are closed while the container library is loaded: their
    // hosts release what the library made, and it is freed only after this function.
    struct BrowserTableCleanup {
        ~BrowserTableCleanup() { DeleteAllBrowsers(); }
    } cleanup;
    // The controllers' thread lets go of its keys and ends before the program does.
    struct PadCleanup {
        ~PadCleanup() { g_Pads.Stop(); }
    } padCleanup;

    CMenuWnd* menu = CMenuWnd::LoadNewMenu(kFirstMenuSection, settings, profile);
    if (!menu)
        return EXIT_MENU_FAILED;
    // A title screen shows first and the rest of start-up follows while the player looks at
    // it; a menu that launches or asks at once needs the rest before.
    HWND shown = nullptr;
    if (menu->HowItRuns() == CMenuWnd::Way::TitleWindow) {
        if (!menu->RunMenu(nullptr, nShowCmd))
            return EXIT_MENU_FAILED;
        shown = menu->hMenuWnd;
    }
    if (int code = FinishStartup(shown))
        return code;
    if (!shown && !menu->RunMenu(nullptr, nShowCmd))
        return EXIT_MENU_FAILED;
    WriteLog("WinMain at6");

    HACCEL hAccel = LoadAcceleratorsW(g_hInstance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorW(msg.hwnd, hAccel, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return EXIT_OK;
}
