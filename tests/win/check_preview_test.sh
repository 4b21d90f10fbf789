#!/bin/sh
# tovak-check.exe --preview under Wine draws the sample's menus with the same pixels as the
# native tovak-check (libpng there, the Windows Imaging Component here).
#
#   check_preview_test.sh WIN_CHECK_EXE NATIVE_CHECK SAMPLE_DIR WORK_DIR
set -eu
win_check=$1 native_check=$2 sample=$3 work=$4
if [ ! -x "$native_check" ]; then
    echo "the native build's $native_check is missing: build the native preset first" >&2
    exit 77
fi
rm -rf "$work"
mkdir -p "$work/native" "$work/win"
"$native_check" --preview "$work/native" "$sample" >/dev/null
wine "$win_check" --preview "Z:$work/win" "Z:$sample" >/dev/null
count=0
for native in "$work/native"/*.png; do
    name=${native##*/}
    [ -f "$work/win/$name" ] || { echo "tovak-check.exe wrote no $name" >&2; exit 1; }
    convert "$native" -depth 8 rgb:"$work/native.rgb"
    convert "$work/win/$name" -depth 8 rgb:"$work/win.rgb"
    if ! cmp -s "$work/native.rgb" "$work/win.rgb"; then
        echo "$name: the pixels differ from the native build's" >&2
        exit 1
    fi
    count=$((count + 1))
done
[ "$(ls "$work/win" | wc -l)" = "$count" ] || { echo "tovak-check.exe wrote other files" >&2; exit 1; }
# The sample has three menus with title images.
[ "$count" = 3 ] || { echo "$count previews instead of 3" >&2; exit 1; }
echo "$count previews, the same pixels as the native build's"
rm -rf "$work"
