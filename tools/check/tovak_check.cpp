// tovak-check: see tools/check_tool.h.
#include "base/diag.h"
#include "tools/check/check_tool.h"

#include <iostream>

// The core's error box: the checker never turns the diagnostic log on, so nothing should come
// here; if it does, it is said on the error stream.
int ShowError(const char* text) {
    std::cerr << "tovak-check: " << text << "\n";
    return 1;
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunTovakCheck(args, std::cout, std::cerr);
}
