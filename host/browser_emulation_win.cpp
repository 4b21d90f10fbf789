#include "host/browser_emulation_win.h"

#include "base/diag.h"

#include <windows.h>

namespace {

const wchar_t* const kBrowserEmulationKey = L"Software\\Microsoft\\Internet Explorer\\Main\\"
                                            L"FeatureControl\\FEATURE_BROWSER_EMULATION";
// The browser control's newest document mode, whatever the page declares.
constexpr DWORD kNewestDocumentMode = 11001;

} // namespace

void EnsureBrowserEmulation() {
    static bool bDone = false;
    if (bDone)
        return;
    bDone = true;
    WriteLog("EnsureBrowserEmulation at1");
    // The value is named after the program's file, whatever characters its name holds.
    wchar_t module[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4)
        return;
    const wchar_t* name = module;
    for (const wchar_t* p = module; *p; ++p) {
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kBrowserEmulationKey, 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND) {
        DWORD mode = kNewestDocumentMode;
        if (RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode),
                           sizeof mode) == ERROR_SUCCESS)
            WriteLog("EnsureBrowserEmulation at2");
    }
    RegCloseKey(key);
}
