#!/bin/sh
# Fuzzes the GIF decoder (CGifImage::Load) with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer for SECONDS (default 60). Fails on any crash, leak, undefined
# behaviour, time-out or out-of-memory.
#
#   scripts/fuzz-gif.sh [SECONDS]
#
# Builds into build/fuzz/ with plain clang++; the corpus the fuzzer grows stays in
# build/fuzz/corpus for the next run, seeded from small files written by the tests' encoder.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/fuzz
cxx=${CXX_FUZZ:-clang++}
mkdir -p "$out/corpus"

"$cxx" -std=c++17 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -DFUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION \
    -I"$root" "$root/tests/fuzz/gif_fuzz.cpp" "$root/image/gif.cpp" -o "$out/gif_fuzz"
"$cxx" -std=c++17 -O1 -I"$root/tests" "$root/tests/gif/corpus_gen.cpp" -o "$out/gif_corpus_gen"

rm -rf "$out/seeds"
mkdir -p "$out/seeds"
"$out/gif_corpus_gen" "$out/seeds" --small >/dev/null
# A few of the machine's own small GIFs, if it has any.
find /usr/share -name '*.gif' -size -8k 2>/dev/null | head -20 | while read -r f; do
    cp "$f" "$out/seeds/system-$(echo "$f" | cksum | cut -d' ' -f1).gif"
done

cd "$out"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
./gif_fuzz -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 corpus seeds
