#!/usr/bin/env bash
# Full-screen benchmark: inside a Wine virtual desktop of 1280x720, the time from a click on a
# full-screen selection to the game's first pixels on screen, by a display-mode switch and
# with fullscreen=fit, N rounds each after one warm-up (default 7); prints the medians.
# Usage: scripts/bench-screens.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tovak sample screenbench >/dev/null
source scripts/bench.sh
trap bench_stop EXIT
bench_start "$root/build/win64"
b=$root/build/win64
folder=$b/bench-screens
rm -rf "$folder"
mkdir -p "$folder"
cp "$b/sample/title.gif" "$b/sample/game.htm" "$b/sample/tovak_logo.gif" "$folder/"
# Two full-screen selections of the sample's page in its two top hot spots, on a title image
# of the sample; the second one fitted to the desktop.
{
    printf '[settings]\r\ntitle=Screens\r\ntitleimage=title.gif\r\nnumselections=2\r\n'
    for n in 1 2; do
        printf 'selpos%s=10,%s,200,30\r\nselcode%s=run\r\nselurl%s=game.htm\r\n' \
            "$n" $((10 + 40 * (n - 1))) "$n" "$n"
        printf 'selscreenfull%s=Y\r\nselscreensize%s=640,480\r\nselscreencolordepth%s=32\r\n' \
            "$n" "$n" "$n"
        printf 'selscreenbgcolor%s=000020\r\nselscreenclosebtn%s=Y\r\n' "$n" "$n"
    done
    printf 'selfullscreen2=fit\r\n'
} >"$folder/tovak.ini"
timeout 600 wine explorer /desktop=benchscreens,1280x720 "$b/screenbench.exe" "${1:-7}" \
    "Z:$folder" "Z:$b/tovak.exe"
