#include "platform/profile_win.h"

#include <windows.h>

#include <climits>

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

namespace {

class CAnsiCodec : public IProfileTextCodec {
  public:
    bool Utf8ToUtf16(const char* text, std::size_t length, std::u16string& out) override {
        out.clear();
        // Texts beyond the conversion's int lengths are not configuration files: held empty.
        if (length == 0 || length > INT_MAX)
            return true;
        int n = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0);
        if (n <= 0)
            return true;
        out.resize(static_cast<std::size_t>(n));
        n = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(length), Wide(out), n);
        out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return true;
    }

    std::string FromUtf16(const char16_t* text, std::size_t length, bool* exact) override {
        if (exact)
            *exact = true;
        if (length == 0 || length > INT_MAX / 2)
            return std::string();
        const wchar_t* wide = reinterpret_cast<const wchar_t*>(text);
        int count = static_cast<int>(length);
        int n = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
        if (n <= 0)
            return std::string();
        std::string out(static_cast<std::size_t>(n), '\0');
        n = WideCharToMultiByte(CP_ACP, 0, wide, count, &out[0], n, nullptr, nullptr);
        out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        if (exact) {
            // Exact when converting back gives the same characters.
            std::u16string back;
            int m = MultiByteToWideChar(CP_ACP, 0, out.data(), static_cast<int>(out.size()),
                                        nullptr, 0);
            if (m > 0) {
                back.resize(static_cast<std::size_t>(m));
                m = MultiByteToWideChar(CP_ACP, 0, out.data(), static_cast<int>(out.size()),
                                        Wide(back), m);
            }
            *exact = m == count && back.compare(0, back.size(), text, length) == 0;
        }
        return out;
    }

  private:
    static wchar_t* Wide(std::u16string& s) { return reinterpret_cast<wchar_t*>(&s[0]); }
};

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

} // namespace

IProfileTextCodec& AnsiProfileCodec() {
    static CAnsiCodec codec;
    return codec;
}
