#include "fuzz_support.h"

#include "base/diag.h"
#include "base/utf.h"

int ShowError(const char*) {
    return 1;
}

namespace {

class CLatin1Codec : public IProfileTextCodec {
  public:
    bool Utf8ToUtf16(const char* text, std::size_t length, std::u16string& out) override {
        // Each byte that starts no valid sequence becomes U+FFFD.
        out.clear();
        const auto* p = reinterpret_cast<const unsigned char*>(text);
        for (std::size_t i = 0; i < length;) {
            unsigned c = p[i];
            std::size_t n = c < 0x80         ? 1
                            : (c >> 5) == 6  ? 2
                            : (c >> 4) == 14 ? 3
                            : (c >> 3) == 30 ? 4
                                             : 0;
            std::uint32_t code = n == 1 ? c : n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
            bool valid = n > 0 && i + n <= length;
            for (std::size_t k = 1; valid && k < n; ++k) {
                valid = (p[i + k] & 0xC0) == 0x80;
                code = (code << 6) | (p[i + k] & 0x3F);
            }
            if (!valid || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
                out += u'\uFFFD';
                ++i;
                continue;
            }
            if (code >= 0x10000) {
                code -= 0x10000;
                out += static_cast<char16_t>(0xD800 + (code >> 10));
                out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
            } else {
                out += static_cast<char16_t>(code);
            }
            i += n;
        }
        return true;
    }

    // A file without a mark in a single-byte code page whose bytes are the first 256
    // characters (Latin-1), decoded before it is split into lines as the program does.
    bool AnsiToUtf16(const char* text, std::size_t length, std::u16string& out) override {
        out.assign(length, u'\0');
        for (std::size_t i = 0; i < length; ++i)
            out[i] = static_cast<unsigned char>(text[i]);
        return true;
    }

    std::string FromUtf16(const char16_t* text, std::size_t length, bool* exact) override {
        return Utf16ToUtf8(text, length, exact);
    }
};

} // namespace

IProfileTextCodec& Latin1ProfileCodec() {
    static CLatin1Codec codec;
    return codec;
}
