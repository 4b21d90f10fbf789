#!/bin/sh
# Makes the GIF corpus the differential test decodes: files written by the tests' own encoder,
# by Pillow, by ImageMagick and by giflib's gifbuild.
#
#   make_corpus.sh DIR GENERATOR
#
# DIR is emptied first. GENERATOR is the gif_corpus_gen program. A missing tool only leaves its
# files out.
set -eu
dir=$1
gen=$2
here=$(dirname "$0")

rm -rf "$dir"
mkdir -p "$dir"
"$gen" "$dir"

if [ -x /usr/bin/python3 ] && /usr/bin/python3 -c 'import PIL' 2>/dev/null; then
    /usr/bin/python3 "$here/make_corpus.py" "$dir"
else
    echo "make_corpus: no Pillow, its files are left out" >&2
fi

if command -v convert >/dev/null 2>&1; then
    convert rose: -colors 16 "$dir/im-rose-16.gif"
    convert logo: -resize 50% -colors 256 -interlace GIF "$dir/im-logo-interlaced.gif"
    convert -size 97x61 gradient:white-black -colors 2 "$dir/im-gradient-2.gif"
    convert -size 203x7 gradient:red-blue -colors 5 +dither "$dir/im-gradient-5.gif"
    convert -comment "a comment" -delay 20 -dispose Background -size 40x30 xc:red \
        -delay 35 -dispose Previous xc:blue \( -size 20x10 xc:green -repage +5+7 \) \
        -loop 0 "$dir/im-animated.gif"
else
    echo "make_corpus: no ImageMagick, its files are left out" >&2
fi

if command -v gifbuild >/dev/null 2>&1; then
    # Through giflib's own text dump and encoder.
    for f in animated interlaced-h7 bits1-w7; do
        gifbuild -d "$dir/$f.gif" | gifbuild >"$dir/giflib-$f.gif"
    done
else
    echo "make_corpus: no gifbuild, its files are left out" >&2
fi

echo "make_corpus: $(ls "$dir" | wc -l) files in $dir"
