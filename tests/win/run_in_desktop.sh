#!/bin/sh
# Runs a Windows GoogleTest program inside a Wine virtual desktop, 1024x768 unless another size
# is given (where display modes really switch), and passes its result on: the desktop's own
# exit code says nothing, so the program writes its results as XML, which is read here.
# Bounded in time. The desktop must fit the X screen: beyond it the desktop reads black.
# Usage: run_in_desktop.sh PROGRAM.exe [WIDTHxHEIGHT]
set -u
exe=$1
size=${2:-1024x768}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
timeout -k 10 240 wine explorer /desktop=tovaktest$size,$size "$exe" \
    "--gtest_output=xml:Z:$out/result.xml" >"$out/output.txt" 2>&1
status=$?
cat "$out/output.txt"
if [ ! -s "$out/result.xml" ]; then
    echo "no test results (desktop run ended with $status)"
    exit 1
fi
# Failing test cases with their messages.
grep -E '<testcase|<failure' "$out/result.xml" | sed -e 's/^ *//'
summary=$(grep -m1 -o '<testsuites [^>]*' "$out/result.xml")
echo "$summary"
tests=$(echo "$summary" | sed -n 's/.* tests="\([0-9]*\)".*/\1/p')
failures=$(echo "$summary" | sed -n 's/.* failures="\([0-9]*\)".*/\1/p')
errors=$(echo "$summary" | sed -n 's/.* errors="\([0-9]*\)".*/\1/p')
if [ "${tests:-0}" -gt 0 ] && [ "${failures:-1}" -eq 0 ] && [ "${errors:-1}" -eq 0 ]; then
    exit 0
fi
exit 1
