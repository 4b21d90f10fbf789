// The command line's first token names the configuration file.
#pragma once

#include <cstddef>

enum CommandLineResult {
    CMDLINE_NO_TOKEN = 0, // no token finished: the default configuration file stays
    CMDLINE_TOKEN = 1,    // the first token is in the buffer
    CMDLINE_TOO_LONG = -1 // the first token does not fit the buffer; it must be refused
};

// Scans the command line the way the launcher always has: blanks separate tokens, a double
// quote switches the current token to end at the next double quote (abc"de f" gives abc de f
// joined as "abcde f"), and a token ends at its delimiter or at the last character. A quote
// as the very last character leaves its token unfinished. Only the first finished token is
// kept; later ones are scanned and ignored.
CommandLineResult ScanCommandLine(const char* cmdLine, char* token, std::size_t size);
