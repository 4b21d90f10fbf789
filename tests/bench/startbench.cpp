// Start-up benchmark: starts two programs in turn, N times each, and measures the time from
// process creation to the first visible top-level window of the expected class; prints each
// program's median and the ratio.
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

// Starts the program; its process information, or a zero handle on failure.
PROCESS_INFORMATION Start(const std::string& exe, const std::string& folder) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &pi))
        pi.hProcess = nullptr;
    return pi;
}

void Stop(PROCESS_INFORMATION& pi) {
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// Milliseconds from creation to the window, or -1 after 20 s.
double TimeToWindow(const std::string& exe, const char* className, const std::string& folder) {
    double start = Now();
    PROCESS_INFORMATION pi = Start(exe, folder);
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
    Stop(pi);
    Sleep(200); // let the system settle between runs
    return elapsed;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
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
    std::vector<double> times[2];
    TimeToWindow(exe[0], cls[0], folder); // warm-up: the system's own caches, once each
    TimeToWindow(exe[1], cls[1], folder);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < 2; ++k) {
            double t = TimeToWindow(exe[k], cls[k], folder);
            if (t < 0) {
                std::fprintf(stderr, "%s showed no %s window\n", exe[k], cls[k]);
                return 1;
            }
            times[k].push_back(t);
        }
    }
    for (int k = 0; k < 2; ++k) {
        std::printf("%-12s median %7.1f ms  runs:", cls[k], Median(times[k]));
        for (double t : times[k])
            std::printf(" %.0f", t);
        std::printf("\n");
    }
    std::printf("ratio %.2f\n", Median(times[0]) / Median(times[1]));

    return 0;
}
