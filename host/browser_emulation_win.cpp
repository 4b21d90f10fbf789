#include "host/browser_emulation_win.h"

#include "base/diag.h"

#include <windows.h>

namespace {

const char* const kBrowserEmulationKey = "Software\\Microsoft\\Internet Explorer\\Main\\"
                                         "FeatureControl\\FEATURE_BROWSER_EMULATION";
// The browser control's newest document mode, whatever the page declares.
constexpr DWORD kNewestDocumentMode = 11001;

} // namespace

void EnsureBrowserEmulation() {
    static bool bDone = false;
    if (bDone)
        return;
    bDone = true;
    WriteLog("EnsureBrowserEmulation at1");
    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    if (length == 0 || length >= sizeof module)
        return;
    const char* name = module;
    for (const char* p = module; *p; ++p) {
        if (*p == '\\' || *p == '/')
            name = p + 1;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kBrowserEmulationKey, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND) {
        DWORD mode = kNewestDocumentMode;
        if (RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode),
                           sizeof mode) == ERROR_SUCCESS)
            WriteLog("EnsureBrowserEmulation at2");
    }
    RegCloseKey(key);
}
