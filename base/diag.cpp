#include "base/diag.h"

#include "base/utf.h"

#include "tovak_version.h"

#include <cstdio>
#include <ctime>
#include <string>

bool FormatLogLine(char* dst, std::size_t size, const LogTime& t, const char* message) {
    return FormatText(dst, size, "%d/%d/%d %d:%d:%d - %s\r\n", t.nMonth, t.nDay, t.nYear, t.nHour,
                      t.nMinute, t.nSecond, message);
}

LogTime CurrentLogTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return LogTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                   local.tm_hour,        local.tm_min,     local.tm_sec};
}

int WriteLog(const char* message) {
    if (!g_bLogEnabled)
        return 1;
    LogTime now = CurrentLogTime();
    // Opened and closed for every entry, so that everything written before a crash is on disk.
    std::FILE* file = OpenFileUtf8(g_szLogFile, "a+");
    if (!file) {
        g_bLogEnabled = 0;
        // The path holds up to TEXT_MAX - 1 bytes; the buffer fits it with the fixed text.
        char text[TEXT_MAX + 64];
        FormatText(text, sizeof text, "Failed to open log file %s\n\nLogging has been disabled",
                   g_szLogFile);
        ShowError(text);
        return 0;
    }
    // The log is UTF-8: a file that starts empty gets the byte order mark first, so that a
    // reader of any code page shows its paths and texts.
    if (std::fseek(file, 0, SEEK_END) == 0 && std::ftell(file) == 0)
        std::fputs("\xEF\xBB\xBF", file);
    // Each run's entries begin with the version that wrote them (a log may hold many runs).
    if (!g_bLogVersionWritten) {
        char version[96];
        FormatLogLine(version, sizeof version, now, "Tovak " TOVAK_VERSION);
        std::fputs(version, file);
        g_bLogVersionWritten = 1;
    }
    // The message itself may be of any length: format into a string sized for it.
    std::string line(std::char_traits<char>::length(message) + 96, '\0');
    FormatLogLine(&line[0], line.size(), now, message);
    std::fputs(line.c_str(), file);
    std::fclose(file);
    return 1;
}
