#!/usr/bin/env bash
# Start-up benchmark: tovak.exe on the sample against a bare window program of our own
# (tests/bench/bare_window.cpp), under a private Xvfb and Wine prefix.
#
# scripts/bench-startup.sh [N [ROUNDS]]
#   ROUNDS (default 3) rounds of N pairs (default 45) of starts, each program first in half of
#   its pairs: the quartiles of the time from process creation to the first visible window of
#   the expected class, and the ratios. Then the title screen idles for 10 s: its CPU use (as a
#   share of one core) and its peak resident memory, read from /proc.
# scripts/bench-startup.sh --phases [N]
#   N (default 15) traced starts of each program (WINEDEBUG=+timestamp,+loaddll,+relay, the relay
#   limited to the calls that mark the phases): the median time of each phase and the libraries
#   mapped before the window shows (tests/bench/startup_phases.py). Tracing slows every phase;
#   compare phases, not totals with the untraced rounds.
# scripts/bench-startup.sh --noise [N [ROUNDS]]
#   The same rounds with the bare window against itself: how far the ratios stray on this
#   machine when the two programs are one and the same.
# TOVAK_EXE names another build of the launcher to measure (an earlier one, say) instead of the
# one built here.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tovak sample bare_window startbench >/dev/null
source scripts/bench.sh
trap bench_stop EXIT
bench_start "$root/build/win64"
b=$root/build/win64
tovak=$(realpath "${TOVAK_EXE:-$b/tovak.exe}")

if [ "${1:-}" = "--phases" ]; then
    n=${2:-15}
    traces=$(mktemp -d)
    debug='HKCU\Software\Wine\Debug'
    wine reg add "$debug" /v RelayInclude /f /d "$(
        printf '%s;' kernel32.GetCurrentDirectoryW user32.LoadCursorA user32.RegisterClassA \
            user32.SetCursor kernel32.CreateFileW kernel32.LoadLibraryW kernel32.LoadLibraryExW \
            ole32.CoInitialize user32.CreateWindowExA user32.CreateWindowExW user32.UpdateWindow
    )" >/dev/null 2>&1
    # A program of the desktop's kept running between the starts, as the start-up rounds do:
    # otherwise Wine ends its desktop process after each start and starts it with the next.
    (cd "$b/sample" && exec wine "$b/bare_window.exe") </dev/null >/dev/null 2>&1 &
    keeper=$!
    sleep 2
    for i in $(seq 1 "$n"); do
        for p in tovak bare_window; do
            exe=$b/bare_window.exe
            [ $p = tovak ] && exe=$tovak
            (cd "$b/sample" && WINEDEBUG=+timestamp,+pid,+loaddll,+relay \
                timeout 2 wine "$exe") </dev/null >/dev/null 2>"$traces/$p.$i" || true
            sleep 0.3
        done
    done
    kill "$keeper" 2>/dev/null || true
    wine reg delete "$debug" /v RelayInclude /f >/dev/null 2>&1 || true
    python3 tests/bench/startup_phases.py "tovak.exe=$traces/tovak.*" \
        "bare window=$traces/bare_window.*"
    rm -rf "$traces"
    exit 0
fi

measured=("Z:$tovak" WinFuncs)
if [ "${1:-}" = "--noise" ]; then
    shift
    measured=("Z:$b/bare_window.exe" BareWindow)
fi
for _ in $(seq 1 "${2:-3}"); do
    wine "$b/startbench.exe" "${1:-45}" "Z:$b/sample" "${measured[@]}" \
        "Z:$b/bare_window.exe" BareWindow
done
[ "${measured[1]}" = BareWindow ] && exit 0

# Wine's loader becomes the program's process: the background job is tovak.exe itself.
(cd "$b/sample" && exec wine "$tovak") &
pid=$!
sleep 3
if ! tr '\0' ' ' <"/proc/$pid/cmdline" | grep -qF "$(basename "$tovak")"; then
    echo "$(basename "$tovak") did not start"
    exit 1
fi
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
c0=$(cpu)
sleep 10
c1=$(cpu)
hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
awk -v d=$((c1 - c0)) -v t="$ticks" -v m="$hwm" 'BEGIN {
    printf "idle title screen: CPU %.2f %% of a core over 10 s; peak resident %.1f MiB\n",
           100 * d / t / 10, m / 1024 }'
