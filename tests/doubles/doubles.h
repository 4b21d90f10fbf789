// Test doubles of the hosted controls: class ids, ProgIDs and the environment variables
// through which a test steers them. Shared by the doubles' DLL and the tests.
#pragma once

// {2F5B68B3-922A-47E5-AB7F-8EC8EE9441B8}
#define TOVAK_FLASH_DOUBLE_CLSID "{2F5B68B3-922A-47E5-AB7F-8EC8EE9441B8}"
// {BB6ED718-E1A1-40BE-ADB6-BE2B425D2DAE}
#define TOVAK_SHOCKWAVE_DOUBLE_CLSID "{BB6ED718-E1A1-40BE-ADB6-BE2B425D2DAE}"
// {957FEEA5-F307-45B2-B2AD-10049E792341}
#define TOVAK_BROWSER_DOUBLE_CLSID "{957FEEA5-F307-45B2-B2AD-10049E792341}"
#define TOVAK_BROWSER_DOUBLE_PROGID "TovakTest.WebBrowser"
// The separate browser's automation object (a test maps "InternetExplorer.Application" to it
// while it needs it, and puts Wine's own class back afterwards).
// {6C1E0F1A-58D4-4E0B-9C4B-2A7D3F5E8B61}
#define TOVAK_APPLICATION_DOUBLE_CLSID "{6C1E0F1A-58D4-4E0B-9C4B-2A7D3F5E8B61}"
#define TOVAK_APPLICATION_DOUBLE_PROGID "TovakTest.InternetExplorer"
// Wine's own class of "InternetExplorer.Application".
#define TOVAK_WINE_APPLICATION_CLSID "{0002DF01-0000-0000-C000-000000000046}"

// The stand-in player's window class (tests/doubles/standin_player.cpp); the program is named
// to the tests by TOVAK_STANDIN_PLAYER.
#define TOVAK_STANDIN_PLAYER_CLASS "TovakStandInPlayer"
#define TOVAK_STANDIN_PLAYER_ENV "TOVAK_STANDIN_PLAYER"

// Path of the journal: one line per call the doubles receive (appended; the test empties it).
#define TOVAK_DOUBLE_JOURNAL_ENV "TOVAK_DOUBLE_JOURNAL"
// Path of the script a double reads, one instruction per line:
//   (refusals and failures apply once the container has activated the control; the
//   automation object, which has no container, obeys them from its creation)
//   fail CreateInstance     the class factory refuses to make the double
//   refuse INTERFACE        QueryInterface refuses it (IOleObject, IConnectionPointContainer,
//                           IShockwaveFlash, IShockwaveCtl, IWebBrowser2, IPersistStreamInit)
//   fail METHOD             the method answers E_FAIL (put_Movie, put_SRC, Navigate,
//                           SetClientSite, FindConnectionPoint, Advise, SetVariable, get_Busy
//                           ...)
//   busy N                  get_Busy reads true for the first N calls of each browser (a large
//                           N keeps it busy)
//   hwnd                    get_HWND of the browser control answers S_OK with the double's
//                           own window (the automation object always answers with the window
//                           that put_Visible showed)
//   emulation               the browser control journals, when it is made, the browser-
//                           emulation value of its program ("IWebBrowser2 emulation 11001",
//                           or "none")
//   var NAME=VALUE          a movie variable that exists from the start
//   after N calls: NAME=VALUE
//                           the variable takes the value once N GetVariable/SetVariable
//                           calls have been received
#define TOVAK_DOUBLE_SCRIPT_ENV "TOVAK_DOUBLE_SCRIPT"

// Events on cue, one line (also accepted as WM_COPYDATA text by the window of class
// TOVAK_DOUBLE_CUE_CLASS that the DLL makes while a double is alive):
//   FSCommand COMMAND [ARGS]         Flash event 150 with two BSTR arguments
//   ShockwaveEvent DISPID            Shockwave event with no arguments
//   DocumentComplete direct|byref URL  event 259; the URL variant holds the BSTR directly or
//                                    by reference
//   BeforeNavigate2 URL              event 250 with the URL as its second argument
// Every live double of the matching kind with a connected sink is invoked. The exported
// function TovakDoubleCue returns the number of sinks invoked, or -1 for a bad line.
#define TOVAK_DOUBLE_CUE_CLASS "TovakDoubleCue"
typedef int(__cdecl* TovakDoubleCueFn)(const char* line);
