#include "app/cmdline.h"

CommandLineResult ScanCommandLine(const char* cmdLine, char* token, std::size_t size) {
    if (size == 0)
        return CMDLINE_TOO_LONG;
    token[0] = '\0';
    if (!cmdLine)
        return CMDLINE_NO_TOKEN;

    char delimiter = ' ';
    std::size_t length = 0; // characters of the current token
    bool inToken = false;
    bool tooLong = false;
    int finished = 0;
    for (const char* p = cmdLine; *p; ++p) {
        char c = *p;
        bool last = p[1] == '\0';
        if (c == delimiter) {
            // The delimiter is never part of a token.
        } else if (c == '"' && delimiter == ' ') {
            delimiter = '"';
            continue;
        } else {
            if (finished == 0) {
                if (length + 1 < size)
                    token[length] = c;
                else
                    tooLong = true;
            }
            ++length;
            inToken = true;
        }
        if (inToken && (c == delimiter || last)) {
            if (finished == 0) {
                if (tooLong) {
                    token[0] = '\0';
                    return CMDLINE_TOO_LONG;
                }
                token[length] = '\0';
            }
            length = 0;
            inToken = false;
            delimiter = ' ';
            ++finished;
        }
    }
    if (finished == 0) {
        token[0] = '\0';
        return CMDLINE_NO_TOKEN;
    }
    return CMDLINE_TOKEN;
}
