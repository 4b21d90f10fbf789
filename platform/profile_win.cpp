#include "platform/profile_win.h"

#include "base/utf.h"
#include "base/wide_win.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <vector>

std::size_t CWinProfile::GetString(const char* section, const char* key, const char* def,
                                   char* buffer, std::size_t size) {
    if (size == 0)
        return 0;
    // A UTF-8 text of size - 1 bytes has at most size - 1 wide characters.
    DWORD limit = size > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<DWORD>(size);
    std::vector<wchar_t> wide(limit, L'\0');
    GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(def).c_str(),
                             wide.data(), limit, Wide(strPath).c_str());
    WideToUtf8(buffer, size, wide.data());
    return std::strlen(buffer);
}

int CWinProfile::GetInt(const char* section, const char* key, int def) {
    return static_cast<int>(GetPrivateProfileIntW(Wide(section).c_str(), Wide(key).c_str(), def,
                                                  Wide(strPath).c_str()));
}

namespace {

bool Decode(UINT codePage, const char* text, std::size_t length, std::u16string& out) {
    out.clear();
    // Texts beyond the conversion's int lengths are not configuration files: held empty.
    if (length == 0 || length > INT_MAX)
        return true;
    int count = static_cast<int>(length);
    int n = MultiByteToWideChar(codePage, 0, text, count, nullptr, 0);
    if (n <= 0)
        return true;
    out.resize(static_cast<std::size_t>(n));
    n = MultiByteToWideChar(codePage, 0, text, count, reinterpret_cast<wchar_t*>(&out[0]), n);
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return true;
}

class CWinCodec : public IProfileTextCodec {
  public:
    // Both through the system, which replaces what does not decode as its profile functions do.
    bool Utf8ToUtf16(const char* text, std::size_t length, std::u16string& out) override {
        return Decode(CP_UTF8, text, length, out);
    }
    bool AnsiToUtf16(const char* text, std::size_t length, std::u16string& out) override {
        return Decode(CP_ACP, text, length, out);
    }
    std::string FromUtf16(const char16_t* text, std::size_t length, bool* exact) override {
        return ::Utf16ToUtf8(text, length, exact);
    }
};

} // namespace

IProfileTextCodec& WinProfileCodec() {
    static CWinCodec codec;
    return codec;
}
