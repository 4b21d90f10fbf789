#include "host/library_win.h"

#include "base/wide_win.h"

CLibrary::~CLibrary() {
    Free();
}

int CLibrary::Load(const char* name) {
    if (hModule)
        return 0;
    hModule = LoadLibraryW(Wide(name).c_str());
    return hModule ? 1 : 0;
}

int CLibrary::Free() {
    if (hModule)
        FreeLibrary(hModule);
    hModule = nullptr;
    return 1;
}

int CAtlLibrary::Load(const char* name) {
    if (!CLibrary::Load(name))
        return 0;
    pfnAtlAxWinInit = reinterpret_cast<AtlAxWinInitFn>(
        reinterpret_cast<void*>(GetProcAddress(hModule, "AtlAxWinInit")));
    pfnAtlAxGetControl = reinterpret_cast<AtlAxGetControlFn>(
        reinterpret_cast<void*>(GetProcAddress(hModule, "AtlAxGetControl")));
    if (pfnAtlAxWinInit && pfnAtlAxGetControl)
        return 1;
    pfnAtlAxWinInit = nullptr;
    pfnAtlAxGetControl = nullptr;
    Free();
    return 0;
}

int CAtlLibrary::Present(const char* name) {
    // Not kept: the later load must find the library unloaded, or it would get this mapping,
    // whose imports were never resolved.
    HMODULE module = LoadLibraryExW(Wide(name).c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!module)
        return 0;
    bool both = GetProcAddress(module, "AtlAxWinInit") && GetProcAddress(module, "AtlAxGetControl");
    FreeLibrary(module);
    return both ? 1 : 0;
}

int CAtlLibrary::AxWinInit() {
    return pfnAtlAxWinInit && pfnAtlAxWinInit() ? 1 : 0;
}

HRESULT CAtlLibrary::AxGetControl(HWND hWnd, IUnknown** ppUnknown) {
    if (!pfnAtlAxGetControl)
        return E_FAIL;
    return pfnAtlAxGetControl(hWnd, ppUnknown);
}
