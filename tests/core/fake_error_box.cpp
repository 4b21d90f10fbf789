// The native build has no message boxes: errors are recorded for the tests to read.
#include "fake_error_box.h"

#include "base/diag.h"

std::vector<std::string> g_shownErrors;

int ShowError(const char* text) {
    g_shownErrors.push_back(text);
    return 1;
}
