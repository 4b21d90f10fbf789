// Start-up benchmark: starts two programs in N pairs, and measures the time from process creation
// to the first visible top-level window of the expected class. The program started first in a
// pair runs faster here, so each program goes first in half of the pairs. Prints each program's
// quartiles and runs, the ratio of the medians and of the lower quartiles, and the median of the
// pairs' ratios.
// Usage: startbench N FOLDER EXE1 CLASS1 EXE2 CLASS2
#include "bench_clock.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using benchutil::Now;

void Stop(PROCESS_INFORMATION& pi) {
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

BOOL CALLBACK PrintWindowOf(HWND hwnd, LPARAM pid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char cls[64] = "", title[128] = "";
    if (owner == static_cast<DWORD>(pid) && GetClassNameA(hwnd, cls, sizeof cls)) {
        GetWindowTextA(hwnd, title, sizeof title);
        std::fprintf(stderr, "  window %s \"%s\"%s\n", cls, title,
                     IsWindowVisible(hwnd) ? "" : " (hidden)");
    }
    return TRUE;
}

// What a program that showed no window within the time was doing: its exit code, or its
// top-level windows while it still runs.
void ReportMissingWindow(const PROCESS_INFORMATION& pi) {
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    if (code != STILL_ACTIVE) {
        std::fprintf(stderr, "  it ended with exit code 0x%lx\n", static_cast<unsigned long>(code));
        return;
    }
    std::fprintf(stderr, "  it still runs\n");
    EnumWindows(PrintWindowOf, static_cast<LPARAM>(pi.dwProcessId));
}

// Milliseconds from creation to the window, or -1 (said on stderr) when the program could not
// be started or showed no window in 20 s.
double TimeToWindow(const std::string& exe, const char* className, const std::string& folder) {
    double start = Now();
    PROCESS_INFORMATION pi = benchutil::StartProgram(exe, folder);
    if (!pi.hProcess)
        return -1;
    double elapsed = -1;
    while (Now() - start < 20000) {
        if (benchutil::FindVisibleWindow(pi.dwProcessId, className)) {
            elapsed = Now() - start;
            break;
        }
        Sleep(1);
    }
    if (elapsed < 0) {
        std::fprintf(stderr, "%s showed no %s window in 20 s\n", exe.c_str(), className);
        ReportMissingWindow(pi);
    }
    Stop(pi);
    Sleep(200); // let the system settle between runs
    return elapsed;
}

// The value at fraction q of the sorted values, interpolated between neighbours.
double Quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    double at = q * static_cast<double>(v.size() - 1);
    size_t below = static_cast<size_t>(at);
    if (below + 1 >= v.size())
        return v.back();
    return v[below] + (at - static_cast<double>(below)) * (v[below + 1] - v[below]);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: startbench N FOLDER EXE1 CLASS1 EXE2 CLASS2\n");
        return 2;
    }
    int n = std::atoi(argv[1]);
    std::string folder = argv[2];
    const char* exe[2] = {argv[3], argv[5]};
    const char* cls[2] = {argv[4], argv[6]};
    if (n < 1) {
        std::fprintf(stderr, "N must be at least 1\n");
        return 2;
    }
    std::vector<double> times[2];
    std::vector<double> pairRatios;
    TimeToWindow(exe[0], cls[0], folder); // warm-up: the system's own caches, once each
    TimeToWindow(exe[1], cls[1], folder);
    for (int i = 0; i < n; ++i) {
        double pair[2];
        for (int j = 0; j < 2; ++j) {
            int k = (i + j) % 2; // program 0 first in even pairs, program 1 in odd ones
            pair[k] = TimeToWindow(exe[k], cls[k], folder);
            if (pair[k] < 0)
                return 1;
            times[k].push_back(pair[k]);
        }
        pairRatios.push_back(pair[0] / pair[1]);
    }
    for (int k = 0; k < 2; ++k) {
        std::printf("%-12s quartiles %6.1f %6.1f %6.1f ms  runs:", cls[k], Quantile(times[k], 0.25),
                    Quantile(times[k], 0.5), Quantile(times[k], 0.75));
        for (double t : times[k])
            std::printf(" %.0f", t);
        std::printf("\n");
    }
    std::printf("ratio of medians %.3f, of lower quartiles %.3f, median of pair ratios %.3f\n",
                Quantile(times[0], 0.5) / Quantile(times[1], 0.5),
                Quantile(times[0], 0.25) / Quantile(times[1], 0.25), Quantile(pairRatios, 0.5));

    return 0;
}
