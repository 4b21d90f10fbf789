// Holders of libraries loaded at run time, among them the control-container library.
#pragma once

#include <windows.h>
#include <unknwn.h>

class CLibrary {
  public:
    CLibrary() = default;
    virtual ~CLibrary();
    CLibrary(const CLibrary&) = delete;
    CLibrary& operator=(const CLibrary&) = delete;

    // Loads the library unless one is held already (then 0 without effect). 1 on success.
    virtual int Load(const char* name);
    // Frees the held library, if any. Always 1.
    int Free();

    HMODULE hModule = nullptr;
};

class CAtlLibrary : public CLibrary {
  public:
    typedef BOOL(WINAPI* AtlAxWinInitFn)();
    typedef HRESULT(WINAPI* AtlAxGetControlFn)(HWND, IUnknown**);

    // Loads the library and finds AtlAxWinInit and AtlAxGetControl; a library without both
    // is freed again and the result is 0.
    int Load(const char* name) override;
    // 1 when the library's file is where Load looks for it (the program's folder, then the
    // system's). Nothing is loaded or mapped: that costs more than the title screen may wait,
    // and Load, which comes later, still checks the library and its entry points.
    static int Present(const char* name);
    // 1 when AtlAxWinInit succeeded.
    int AxWinInit();
    // The control held by a container window, as AtlAxGetControl gives it.
    HRESULT AxGetControl(HWND hWnd, IUnknown** ppUnknown);

    AtlAxWinInitFn pfnAtlAxWinInit = nullptr;
    AtlAxGetControlFn pfnAtlAxGetControl = nullptr;
};

extern CAtlLibrary g_AtlLib;
