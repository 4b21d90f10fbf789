#include "platform/profile_win.h"

#include <windows.h>

std::size_t CWinProfile::GetString(const char* section, const char* key, const char* def,
                                   char* buffer, std::size_t size) {
    if (size == 0)
        return 0;
    DWORD limit = size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(size);
    return GetPrivateProfileStringA(section, key, def, buffer, limit, strPath);
}

int CWinProfile::GetInt(const char* section, const char* key, int def) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, def, strPath));
}
