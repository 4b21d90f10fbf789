// The error box of the Windows program: a modal message box with the caption "Error".
#include "base/diag.h"
#include "base/wide_win.h"

#include <windows.h>

int ShowError(const char* text) {
    return MessageBoxW(nullptr, Wide(text).c_str(), L"Error", MB_OK);
}
