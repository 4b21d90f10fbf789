#include "base/wide_win.h"

#include "base/system_library_win.h"
#include "base/utf.h"

#include <climits>
#include <cstring>
#include <new>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

namespace {

const char16_t* Units(const wchar_t* text) {
    return reinterpret_cast<const char16_t*>(text);
}

} // namespace

std::wstring Wide(const char* text) {
    std::u16string wide = Utf8ToUtf16(text);
    return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size());
}

std::string Utf8Of(const wchar_t* text, int length) {
    if (!text)
        return std::string();
    std::size_t n = length < 0 ? std::wcslen(text) : static_cast<std::size_t>(length);
    return Utf16ToUtf8(Units(text), n);
}

bool WideToUtf8(char* dst, std::size_t size, const wchar_t* text) {
    if (size == 0)
        return false;
    std::string utf8 = Utf8Of(text);
    std::size_t n = Utf8FitLength(utf8.data(), utf8.size(), size - 1);
    std::memcpy(dst, utf8.data(), n);
    dst[n] = '\0';
    return n == utf8.size();
}

bool Utf8ToWideBuffer(wchar_t* dst, std::size_t count, const char* text) {
    if (count == 0)
        return false;
    dst[0] = L'\0';
    int limit = count > INT_MAX ? INT_MAX : static_cast<int>(count);
    int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, dst, limit);
    if (n <= 0) {
        dst[0] = L'\0';
        return false;
    }
    return true;
}

BSTR Utf8ToBstr(const char* text) {
    std::u16string wide = Utf8ToUtf16(text);
    if (wide.size() > UINT_MAX / 2)
        return nullptr;
    return com::AllocString(reinterpret_cast<const wchar_t*>(wide.data()),
                            static_cast<UINT>(wide.size()));
}

char* BstrToUtf8(BSTR text) {
    if (!text)
        return nullptr;
    std::string utf8 = Utf16ToUtf8(Units(text), com::StringLength(text));
    char* result = new (std::nothrow) char[utf8.size() + 1];
    if (!result)
        return nullptr;
    std::memcpy(result, utf8.c_str(), utf8.size() + 1);
    return result;
}
