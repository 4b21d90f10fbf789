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
    // The search order of SearchPath is that of LoadLibrary in its safe mode, which is the
    // system's default. A path too long for the buffer was found all the same (the length
    // needed comes back).
    wchar_t found[MAX_PATH];
    return SearchPathW(nullptr, Wide(name).c_str(), nullptr, MAX_PATH, found, nullptr) > 0 ? 1 : 0;
}

int CAtlLibrary::AxWinInit() {
    return pfnAtlAxWinInit && pfnAtlAxWinInit() ? 1 : 0;
}

HRESULT CAtlLibrary::AxGetControl(HWND hWnd, IUnknown** ppUnknown) {
    if (!pfnAtlAxGetControl)
        return E_FAIL;
    return pfnAtlAxGetControl(hWnd, ppUnknown);
}
