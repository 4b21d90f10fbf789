#include "app/crash_filter_win.h"

#include "base/diag.h"
#include "base/wide_win.h"
#include "screen/display_mode.h"

#include <windows.h>

#include <cstring>

namespace {

LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
volatile LONG g_crashing = 0;

// Appends the entry with the system's own file functions: the C library's locks or heap may be
// what the crash broke. The line ends as WriteLog's text stream writes it (CR CR LF).
void LogCrash(const EXCEPTION_RECORD& record, bool restored) {
    if (!g_bLogEnabled)
        return;
    char message[160];
    FormatText(message, sizeof message, "Unhandled exception %08lX at %p: %s", record.ExceptionCode,
               record.ExceptionAddress,
               restored ? "the desktop's display mode was restored"
                        : "the display mode was not changed");
    SYSTEMTIME now;
    GetLocalTime(&now);
    LogTime time{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    char line[256];
    FormatLogLine(line, sizeof line - 1, time, message);
    std::size_t length = std::strlen(line);
    if (length >= 2 && line[length - 2] == '\r' && line[length - 1] == '\n') {
        line[length - 1] = '\r';
        line[length] = '\n';
        line[++length] = '\0';
    }
    wchar_t path[TEXT_MAX];
    if (!Utf8ToWideBuffer(path, TEXT_MAX, g_szLogFile))
        return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    // A log that this entry starts is UTF-8 with its mark, as WriteLog makes it.
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        WriteFile(file, "\xEF\xBB\xBF", 3, &written, nullptr);
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info) {
    // Once only, whichever thread faults first; a fault inside this filter ends here too.
    if (InterlockedExchange(&g_crashing, 1) == 0) {
        // The display first: whatever follows may fail.
        bool restored = g_DisplayMode.bGameModeActive != 0;
        if (restored) {
            // On the device where the game's mode was taken (the primary one when unnamed;
            // the system's device names are ASCII).
            wchar_t device[sizeof g_DisplayMode.dmDesktop.dmDeviceName + 1] = {};
            for (std::size_t i = 0; i + 1 < sizeof device / sizeof device[0]; ++i)
                device[i] = static_cast<wchar_t>(g_DisplayMode.dmDesktop.dmDeviceName[i]);
            ChangeDisplaySettingsExW(device[0] ? device : nullptr, nullptr, nullptr, 0, nullptr);
        }
        if (info && info->ExceptionRecord)
            LogCrash(*info->ExceptionRecord, restored);
    }
    return g_previousFilter ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

void InstallCrashFilter() {
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(CrashFilter);
    if (previous != CrashFilter)
        g_previousFilter = previous;
}
