#!/usr/bin/env python3
"""Start-up phases from Wine traces: where a program's time goes before its first window shows.

Each trace is the standard error of one start of a program under
WINEDEBUG=+timestamp,+pid,+loaddll,+relay, with the relay limited (RelayInclude) to the calls that
mark the phases. Times are taken from the line that maps the program's own executable. Prints,
per program, the median time of each mark and of each phase between marks, and the libraries the
program maps before its window shows.

Usage: startup_phases.py NAME=TRACE_GLOB [NAME=TRACE_GLOB ...]
"""
import glob
import re
import statistics
import sys

LINE = re.compile(r"^(\d+\.\d+):([0-9a-f]+):[0-9a-f]+:(.*)$")
LOADED = re.compile(r'trace:loaddll:build_module Loaded L"(?:.*\\\\)?([^"\\]+)"')

# The marks, in the order a start passes them: a label and the pattern of the trace line that
# marks it (its first match after the previous mark). The container library, COM and the menu
# are the launcher's own; the other marks are the bare window's too.
MARKS = [
    ("own executable mapped", None),
    ("static libraries mapped", "LIBRARIES_MAPPED"),
    ("libraries initialised", re.compile(r"^Starting thread proc")),
    ("WinMain", re.compile(r"^Call (KERNEL32\.GetCurrentDirectoryW|user32\.LoadCursorA)\(")),
    ("classes registered, settings read",
     re.compile(r"^(Ret  user32\.RegisterClassA\(|Call user32\.SetCursor\()")),
    ("logo opened", re.compile(r'^Call KERNEL32\.CreateFileW\(\w+ L"tovak_logo\.gif"')),
    ("container library loaded", re.compile(r'^Ret  KERNEL32\.LoadLibraryW\(\).*')),
    ("COM initialised", re.compile(r"^Ret  ole32\.CoInitialize\(")),
    ("title image opened", re.compile(r'^Call KERNEL32\.CreateFileW\(\w+ L"title\.gif"')),
    ("window creation called", re.compile(r"^Call user32\.CreateWindowEx[AW]\(\w+,\w+ L?\"(WinFuncs|BareWindow)\"")),
    ("window created", re.compile(r"^Ret  user32\.CreateWindowEx[AW]\(\).*ret=14")),
    ("window shown and painted", re.compile(r"^Ret  user32\.UpdateWindow\(")),
]


def read_trace(path):
    """The marks' times (ms from the executable's mapping) and the libraries mapped before the
    window showed, for the program's own process; None where a mark was not passed."""
    times = {}
    libraries = []
    pid = None
    start = None
    mark = 1
    with open(path, errors="replace") as f:
        lines = f.readlines()
    for line in lines:
        m = LINE.match(line.rstrip("\n"))
        if not m:
            continue
        t, p, text = float(m.group(1)) * 1000, m.group(2), m.group(3)
        loaded = LOADED.search(text)
        if pid is None:
            if loaded and loaded.group(1).lower().endswith(".exe"):
                pid, start = p, t
                times[MARKS[0][0]] = 0.0
            continue
        if p != pid or mark >= len(MARKS):
            continue
        if loaded:
            libraries.append(loaded.group(1).lower())
        label, pattern = MARKS[mark]
        if pattern == "LIBRARIES_MAPPED":
            if text.startswith("Call PE DLL"):
                times[label] = last_loaded - start
                mark += 1
            elif loaded:
                last_loaded = t
            continue
        # A mark the program does not pass (the bare window has no logo) is skipped when the
        # next one matches.
        for k in range(mark, len(MARKS)):
            if MARKS[k][1] != "LIBRARIES_MAPPED" and MARKS[k][1].search(text):
                times[MARKS[k][0]] = t - start
                mark = k + 1
                break
    return times, libraries


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    for arg in sys.argv[1:]:
        name, pattern = arg.split("=", 1)
        runs = [read_trace(p) for p in sorted(glob.glob(pattern))]
        runs = [r for r in runs if MARKS[-1][0] in r[0]]
        if not runs:
            print(f"{name}: no trace reached its window")
            continue
        print(f"{name}: {len(runs)} starts, medians in ms from the executable's mapping")
        previous = None
        for label, _ in MARKS:
            values = [r[0][label] for r in runs if label in r[0]]
            if not values:
                continue
            at = statistics.median(values)
            phase = "" if previous is None else f"{at - previous:+7.1f}"
            print(f"  {label:28} {at:7.1f} {phase}")
            previous = at
        print("  libraries mapped before the window showed: " + " ".join(runs[0][1]))
        print()


if __name__ == "__main__":
    main()
