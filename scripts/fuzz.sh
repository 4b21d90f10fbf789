#!/bin/sh
# Fuzzes one part of Tovak with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer
# for SECONDS (default 60). Fails on any crash, leak, undefined behaviour, time-out or
# out-of-memory.
#
#   scripts/fuzz.sh TARGET [SECONDS]
#
# TARGET is one of
#   gif      the GIF decoder on arbitrary bytes
#   profile  the profile reader on arbitrary bytes
#   menu     every menu that an arbitrary configuration text names, loaded and driven
#   check    tovak-check on an arbitrary configuration file in a folder of a few fixed files
#
# Builds into build/fuzz with clang++ (tests/fuzz/CMakeLists.txt). The corpus a target grows
# stays in build/fuzz/corpus-TARGET for the next run; its seeds are made afresh in
# build/fuzz/seeds-TARGET; the inputs that once found a fault are kept in
# tests/fuzz/regressions/TARGET and run at every start. A failing input is written to
# build/fuzz/findings-TARGET/.
set -eu
target=${1:?usage: scripts/fuzz.sh gif|profile|menu|check [SECONDS]}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/fuzz
case $target in
gif) max_len=8192 ;;
profile | menu | check) max_len=16384 ;;
*)
    echo "fuzz.sh: unknown target $target (gif, profile, menu, check)" >&2
    exit 2
    ;;
esac

if [ ! -f "$out/build.ninja" ]; then
    cmake -S "$root/tests/fuzz" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE= \
        -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}" >/dev/null
fi
cmake --build "$out" -j2 --target "${target}_fuzz" gif_corpus_gen

seeds=$out/seeds-$target
rm -rf "$seeds"
mkdir -p "$seeds" "$out/corpus-$target" "$out/findings-$target"
if [ "$target" = gif ]; then
    "$out/gif_corpus_gen" "$seeds" --small >/dev/null
    # A few of the machine's own small GIFs, if it has any.
    find /usr/share -name '*.gif' -size -8k 2>/dev/null | head -20 | while read -r f; do
        cp "$f" "$seeds/system-$(echo "$f" | cksum | cut -d' ' -f1).gif"
    done
    dict=
else
    # The sample's configuration and those of the test folders (of the native tests and, after
    # a run of the Windows tests, theirs), each also in UTF-16 of both byte orders and in UTF-8
    # with its mark; and the byte order marks alone.
    {
        echo "$root/examples/sample/tovak.ini"
        find "$root/build/native/check-tests" -name '*.ini' 2>/dev/null | sort | head -40
        find "$root/build/win64/test-tmp" -maxdepth 2 -name 'tovak.ini' 2>/dev/null | sort | head -40
    } | python3 -c '
import sys, zlib
seeds = sys.argv[1]
def write(name, data):
    open("%s/%s" % (seeds, name), "wb").write(data)
for bom, name in ((b"\xff\xfe", "bom-le"), (b"\xfe\xff", "bom-be"), (b"\xef\xbb\xbf", "bom-utf8")):
    write(name, bom)
    write(name + "-odd", bom + b"[")
for path in sys.stdin.read().split("\n"):
    if not path:
        continue
    data = open(path, "rb").read()
    if len(data) > 8000:
        continue
    tag = "%08x" % zlib.crc32(path.encode())
    text = data.decode("cp1252", errors="replace")
    write(tag + ".ini", data)
    write(tag + "-utf16le.ini", b"\xff\xfe" + text.encode("utf-16-le"))
    write(tag + "-utf16be.ini", b"\xfe\xff" + text.encode("utf-16-be"))
    write(tag + "-utf8.ini", b"\xef\xbb\xbf" + text.encode("utf-8"))
' "$seeds"
    dict=-dict=$root/tests/fuzz/config.dict
fi
regressions=$root/tests/fuzz/regressions/$target
[ -d "$regressions" ] || regressions=

cd "$out"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# shellcheck disable=SC2086 # dict and regressions are empty or one word
"./${target}_fuzz" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/findings-$target/" $dict \
    "corpus-$target" "$seeds" $regressions
