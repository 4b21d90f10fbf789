// Diagnostic log and error boxes: the services every subsystem uses to record progress
// markers and to show the failures a user must see.
#pragma once

#include "base/globals.h"

// Local time of one log entry.
struct LogTime {
    int nYear, nMonth, nDay, nHour, nMinute, nSecond;
};

// Formats one entry "%d/%d/%d %d:%d:%d - %s\r\n" (month/day/year hour:minute:second). The log
// file is a text stream, so on Windows each entry ends with CR CR LF on disk, as log readers
// of this program have always seen it. Returns false when the entry did not fit (it is then
// cut).
bool FormatLogLine(char* dst, std::size_t size, const LogTime& time, const char* message);

// The machine's local time now.
LogTime CurrentLogTime();

// Appends one entry (UTF-8) to the log when logging is on; a log file it starts gets the UTF-8
// byte order mark, and the run's first entry is preceded by one naming the program's version
// ("Tovak 1.0.0"). Returns 1, or 0 when the log file cannot be
// opened, in which case logging is switched off for good and the failure is shown once.
int WriteLog(const char* message);

// Shows a modal "Error" box with the text and an OK button; returns what the box returns.
// The Windows build shows a message box; builds without Windows provide their own.
int ShowError(const char* text);
