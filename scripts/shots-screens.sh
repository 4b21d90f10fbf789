#!/usr/bin/env bash
# Screenshots of the README's "Screens" section, taken on the bench: the sample's title screen
# with the prefix at 144 DPI (150 %), and the sample's full-screen game with fullscreen=fit in a
# 1280x720 virtual desktop. Writes docs/sample-title-150.png and docs/sample-fit-16x9.png.
# Usage: scripts/shots-screens.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tovak sample >/dev/null
source scripts/bench.sh
b=$root/build/win64
desktop='HKCU\Control Panel\Desktop'
cleanup() {
    wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true
    bench_stop
}
trap cleanup EXIT
bench_start "$b"

# The title screen at 150 %: the value applies to programs started afterwards.
wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
(cd "$b/sample" && exec wine "$b/tovak.exe") &
pid=$!
sleep 4 # the window, then the first selection's description after two seconds
import -window "Star Courier" -frame "$root/docs/sample-title-150.png"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true
sleep 1

# The sample's "whole screen" selection alone (so that it runs at once), fitted to a 16:9
# desktop, while the logo shows.
folder=$b/shots-fit
rm -rf "$folder"
mkdir -p "$folder"
cp "$b/sample/game.htm" "$b/sample/tovak_logo.gif" "$folder/"
printf '[settings]\r\ntitle=Star Courier\r\nfullscreen=fit\r\nnumselections=1\r\n%s\r\n' \
    'selcode1=run' >"$folder/tovak.ini"
printf 'selurl1=game.htm\r\nselscreenfull1=Y\r\nselscreensize1=640,480\r\n' >>"$folder/tovak.ini"
printf 'selscreencolordepth1=32\r\nselscreenbgcolor1=000020\r\n' >>"$folder/tovak.ini"
(cd "$folder" && exec wine explorer /desktop=shots,1280x720 "$b/tovak.exe") &
pid=$!
# As soon as the logo shows in the middle (neither the page's white nor the desktop's black).
for _ in $(seq 1 40); do
    sleep 0.2
    centre=$(import -window root -crop 1x1+640+360 txt:- 2>/dev/null | tail -1)
    case "$centre" in *'#FFFFFF'* | *'#000000'* | '') ;; *) break ;; esac
done
import -window root -crop 1280x720+0+0 +repage "$root/docs/sample-fit-16x9.png"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "wrote docs/sample-title-150.png and docs/sample-fit-16x9.png"
