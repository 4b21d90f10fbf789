// What the benchmark programs share: a clock in milliseconds, starting a program in a folder,
// and the search for a visible top-level window of a class in a process.
#pragma once

#include <windows.h>

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

// Starts the program in the folder; its process information, or a zero handle on failure.
inline PROCESS_INFORMATION StartProgram(const std::string& exe, const std::string& folder) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &pi))
        pi.hProcess = nullptr;
    return pi;
}

struct WindowSearch {
    DWORD pid;
    const char* className;
    HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
    WindowSearch* s = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char cls[64] = "";
    if (owner == s->pid && IsWindowVisible(hwnd) && GetClassNameA(hwnd, cls, sizeof cls) &&
        lstrcmpA(cls, s->className) == 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The process's first visible top-level window of the class, or null.
inline HWND FindVisibleWindow(DWORD pid, const char* className) {
    WindowSearch search{pid, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace benchutil
