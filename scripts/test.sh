#!/usr/bin/env bash
# Sets up a fresh Debian machine and runs every test: the native unit tests of the portable
# core, the fuzz runs, the Windows tests under Wine (with the release package's test, which
# builds the package twice), and the 32-bit build.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/deps.sh

echo "== native build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

# The GIF decoder, the profile reader, menu loading and the checker, each for a short run.
for target in gif profile menu check; do
    echo "== fuzz run: $target"
    scripts/fuzz.sh "$target" "${TOVAK_FUZZ_SECONDS:-20}"
done

echo "== 32-bit Windows build (compiled and linked only)"
cmake --preset win32 >/dev/null
cmake --build --preset win32

echo "== 64-bit Windows build and tests under Wine"
cmake --preset win64 >/dev/null
cmake --build --preset win64
echo "== the sample game, as staged with its arcade game, checks clean"
build/native/tovak-check build/win64/sample
source scripts/bench.sh
trap bench_stop EXIT
bench_start "$root/build/win64"
ctest --preset win64
