#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the launcher and starts it on the sample game under
# Wine. With a display (DISPLAY set) it shows there; without one it uses a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tovak sample
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="${WINEPREFIX:-$root/build/win64/wineprefix}"
if [ -z "${DISPLAY:-}" ]; then
    source scripts/bench.sh
    trap bench_stop EXIT
    bench_start "$root/build/win64"
    echo "No display: running on the private Xvfb $DISPLAY"
fi
# The sample as built: examples/sample with the arcade game beside it.
cd build/win64/sample
wine "$root/build/win64/tovak.exe" "$@"
