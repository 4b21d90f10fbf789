// What the benchmark programs share: a clock in milliseconds, starting a program in a folder,
// and the search for a visible top-level window of a class in a process.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace benchutil {

inline double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Starts the program in the folder; its process information, or a zero handle on failure, which
// is said on stderr with the system's error.
inline PROCESS_INFORMATION StartProgram(const std::string& exe, const std::string& folder) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &pi)) {
        std::fprintf(stderr, "%s could not be started (error %lu)\n", exe.c_str(),
                     static_cast<unsigned long>(GetLastError()));
        pi.hProcess = nullptr;
    }
    return pi;
}

// The process's first visible top-level window of the class, or null. The search asks only for
// windows of the class (one request to the window server when there is none yet), not for every
// window with its class, owner and state: polled every millisecond, that would load the server
// that the measured program is waiting on, and slow most the program that asks it most.
inline HWND FindVisibleWindow(DWORD pid, const char* className) {
    for (HWND hwnd = FindWindowExA(nullptr, nullptr, className, nullptr); hwnd;
         hwnd = FindWindowExA(nullptr, hwnd, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == pid && IsWindowVisible(hwnd))
            return hwnd;
    }
    return nullptr;
}

} // namespace benchutil
