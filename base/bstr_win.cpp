#include "base/bstr_win.h"

#include <new>

BSTR AnsiToBstr(const char* text) {
    // Measure first, so that a text of any length converts whole and no fixed buffer is
    // overrun.
    int wide = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (wide <= 0)
        return SysAllocString(L"");
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(wide - 1));
    if (!result)
        return nullptr;
    MultiByteToWideChar(CP_ACP, 0, text, -1, result, wide);
    return result;
}

char* BstrToAnsi(BSTR text) {
    if (!text)
        return nullptr;
    int length = static_cast<int>(SysStringLen(text)) + 1; // with the terminating zero
    int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size == 0)
        return nullptr;
    char* result = new (std::nothrow) char[size];
    if (!result)
        return nullptr;
    result[size - 1] = '\0';
    if (WideCharToMultiByte(CP_ACP, 0, text, length, result, size, nullptr, nullptr) == 0) {
        delete[] result;
        return nullptr;
    }
    return result;
}
