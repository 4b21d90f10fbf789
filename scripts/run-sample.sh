#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds the launcher and starts it on the sample game under
# Wine. With a display (DISPLAY set) it shows there; without one it uses a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tovak sample
export WINEDEBUG=-all
export WINEPREFIX="${WINEPREFIX:-$root/build/win64/wineprefix}"
if [ -z "${DISPLAY:-}" ]; then
    source scripts/bench.sh
    trap bench_stop EXIT
    bench_start "$root/build/win64"
    echo "No display: running on the private Xvfb $DISPLAY"
fi

# Web pages are drawn by Wine's HTML engine (Wine Gecko). Where it is installed (system-wide,
# in the user's cache, or in this prefix) the sample's pages render; where it is not, Wine
# would stop at the first page to offer a download, so the engine is left out and the pages'
# windows stay white.
gecko_installed() {
    local place
    for place in /usr/share/wine/gecko /opt/wine/gecko "$HOME/.cache/wine"; do
        compgen -G "$place/wine-gecko-*" >/dev/null && return 0
    done
    [ -d "$WINEPREFIX/drive_c/windows/system32/gecko" ]
}
if gecko_installed; then
    export WINEDLLOVERRIDES="mscoree="
else
    export WINEDLLOVERRIDES="mscoree,mshtml="
    echo "Wine's HTML engine (Wine Gecko) is not installed: the sample's web pages will show"
    echo "white. README.md, section \"The sample game\", says how to install it."
fi
# The sample as built: examples/sample with the arcade game beside it.
cd build/win64/sample
wine "$root/build/win64/tovak.exe" "$@"
