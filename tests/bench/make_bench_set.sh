#!/bin/sh
# Makes gifbench's image set: large pictures, and images that each lean on one path of the
# decoder (a full code table used for a long stretch, frequent clear codes, many tiny frames,
# one and two colours). Every file is made the same way on every run.
#
#   make_bench_set.sh DIR GENERATOR
#
# DIR is emptied first. GENERATOR is the gif_corpus_gen program. Needs Pillow (/usr/bin/python3)
# and ImageMagick.
set -eu
dir=$1
gen=$2
here=$(dirname "$0")

rm -rf "$dir"
mkdir -p "$dir"
"$gen" "$dir" --bench >/dev/null
/usr/bin/python3 "$here/../gif/make_corpus.py" "$dir" --bench
# A noisy, photo-like picture, and the same dithered to black and white (1 bit).
convert -seed 1 -size 4000x3000 plasma:fractal -colors 256 "$dir/plasma-4000x3000.gif"
convert -seed 2 -size 1600x1200 plasma:fractal -colorspace gray -monochrome \
    "$dir/dither-1600x1200-1bit.gif"
echo "make_bench_set: $(ls "$dir" | wc -l) files in $dir"
