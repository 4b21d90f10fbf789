#include "host/movie_vars_win.h"

#include "host/movie_vars.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

// The size a value may report when measured. The narrow query of a text value may report the
// size of its wide form, up to twice the bytes the narrow text needs.
constexpr DWORD kMaxMeasuredBytes = 2 * (kMaxSavedValueBytes + 1);

} // namespace

int WriteRegistryValue(const char* subKey, const char* valueName, const char* data) {
    const std::size_t length = std::strlen(data);
    if (!SavedValueFits(length))
        return 1;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return 1;
    RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                   static_cast<DWORD>(length + 1));
    RegCloseKey(key);
    return 1;
}

int ReadRegistryValue(const char* subKey, const char* valueName, std::string& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    int result = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS &&
        size <= kMaxMeasuredBytes) {
        // One byte more than measured, so that the text always ends in a zero.
        std::unique_ptr<char[]> data(new (std::nothrow) char[size + 1]);
        DWORD got = size;
        if (data &&
            RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(data.get()),
                             &got) == ERROR_SUCCESS &&
            got <= size) {
            data[got] = '\0';
            try {
                value = SavedValueText(data.get(), got);
                result = 1;
            } catch (const std::bad_alloc&) {
                result = 0;
            }
        }
    }
    RegCloseKey(key);
    return result;
}
