#!/usr/bin/env bash
# Start-up benchmark: tovak.exe on the sample against a bare window program of our own
# (tests/bench/bare_window.cpp), started in turn under a private Xvfb and Wine prefix, N times
# each (default 7): the median time from process creation to the first visible window of the
# expected class, and the ratio. Then the title screen idles for 10 s: its CPU use (as a share
# of one core) and its peak resident memory, read from /proc.
# Usage: scripts/bench-startup.sh [N]
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
wine "$b/startbench.exe" "${1:-7}" "Z:$b/sample" "Z:$b/tovak.exe" WinFuncs \
    "Z:$b/bare_window.exe" BareWindow

# Wine's loader becomes the program's process: the background job is tovak.exe itself.
(cd "$b/sample" && exec wine "$b/tovak.exe") &
pid=$!
sleep 3
if ! tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q 'tovak\.exe'; then
    echo "tovak.exe did not start"
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
