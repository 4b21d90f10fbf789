#include "host/movie_vars_win.h"

#include "host/movie_vars.h"

#include "base/wide_win.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

// The size a value may report when measured: its wide form, at most two bytes for each byte
// of its UTF-8 text, terminator included.
constexpr DWORD kMaxMeasuredBytes = 2 * (kMaxSavedValueBytes + 1);

} // namespace

// Values are written and read as wide text: one that an earlier, narrow version wrote (the
// registry keeps it in wide form, converted from the ANSI code page) reads back as the same
// characters, and a value in any script makes the round trip.
int WriteRegistryValue(const char* subKey, const char* valueName, const char* data) {
    const std::size_t length = std::strlen(data);
    if (!SavedValueFits(length))
        return 1;
    std::wstring wide = Wide(data);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Wide(subKey).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return 1;
    RegSetValueExW(key, Wide(valueName).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return 1;
}

int ReadRegistryValue(const char* subKey, const char* valueName, std::string& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(subKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    std::wstring name = Wide(valueName);
    int result = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
        size <= kMaxMeasuredBytes) {
        // One character more than measured, so that the text always ends in a zero.
        std::size_t count = size / sizeof(wchar_t) + 1;
        std::unique_ptr<wchar_t[]> data(new (std::nothrow) wchar_t[count]());
        DWORD got = size;
        if (data &&
            RegQueryValueExW(key, name.c_str(), nullptr, nullptr,
                             reinterpret_cast<BYTE*>(data.get()), &got) == ERROR_SUCCESS &&
            got <= size) {
            // The text up to its first zero (a value of any type is read as text).
            std::size_t units = got / sizeof(wchar_t);
            std::size_t length = 0;
            while (length < units && data[length] != L'\0')
                ++length;
            try {
                value = Utf8Of(data.get(), static_cast<int>(length));
                result = 1;
            } catch (const std::bad_alloc&) {
                result = 0;
            }
        }
    }
    RegCloseKey(key);
    return result;
}
