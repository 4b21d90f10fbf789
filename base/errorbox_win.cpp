// The error box of the Windows program: a modal message box with the caption "Error".
#include "base/diag.h"

#include <windows.h>

int ShowError(const char* text) {
    return MessageBoxA(nullptr, text, "Error", MB_OK);
}
