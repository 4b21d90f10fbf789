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

# The marks: a label and the pattern of the trace line that marks it, its first match in the
# program's process (any of its threads). A mark the program never passes is left out; the
# marks are listed in the order of their times, each with the time since the one before.
MARKS = [
    ("static libraries mapped", "LIBRARIES_MAPPED"),
    ("libraries initialised", re.compile(r"^Starting thread proc")),
    ("WinMain", re.compile(r"^Call (KERNEL32\.GetCurrentDirectoryW|user32\.LoadCursorA)\(")),
    ("display driver and theme loaded", re.compile(r'Loaded L"[^"]*uxtheme\.dll"')),
    ("classes registered, settings read",
     re.compile(r"^(Ret  user32\.RegisterClassA\(|Call user32\.SetCursor\()")),
    ("title image opened", re.compile(r'^Call KERNEL32\.CreateFileW\(\w+ L"title\.gif"')),
    ("container library found",
     re.compile(r'^Call KERNEL32\.LoadLibraryExW\(\w+ L"atl\.dll",\w+,00000001\)')),
    ("window creation called",
     re.compile(r'^Call user32\.CreateWindowEx[AW]\(\w+,\w+ L?"(WinFuncs|BareWindow)"')),
    ("window created", re.compile(r"^Ret  user32\.CreateWindowEx[AW]\(\).*ret=14")),
    ("window shown and painted", re.compile(r"^Ret  user32\.UpdateWindow\(")),
    ("container library loading", re.compile(r'^Call KERNEL32\.LoadLibraryW\(\w+ L"atl\.dll"\)')),
    ("COM initialised", re.compile(r"^Ret  ole32\.CoInitialize\(")),
]
END = "window shown and painted"


def read_trace(path):
    """The marks' times (ms from the executable's mapping) and the libraries mapped before the
    window showed, for the program's own process."""
    times = {}
    libraries = []
    pid = None
    start = None
    last_loaded = None
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
            continue
        if p != pid:
            continue
        if loaded and END not in times:
            libraries.append(loaded.group(1).lower())
        for label, pattern in MARKS:
            if label in times:
                continue
            if pattern == "LIBRARIES_MAPPED":
                if text.startswith("Call PE DLL") and last_loaded is not None:
                    times[label] = last_loaded - start
                elif loaded:
                    last_loaded = t
            elif pattern.search(text):
                times[label] = t - start
    return times, libraries


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    for arg in sys.argv[1:]:
        name, pattern = arg.split("=", 1)
        runs = [read_trace(p) for p in sorted(glob.glob(pattern))]
        runs = [r for r in runs if END in r[0]]
        if not runs:
            print(f"{name}: no trace reached its window")
            continue
        print(f"{name}: {len(runs)} starts, medians in ms from the executable's mapping")
        medians = []
        for label, _ in MARKS:
            values = [r[0][label] for r in runs if label in r[0]]
            if len(values) * 2 > len(runs):
                medians.append((statistics.median(values), label))
        previous = 0.0
        for at, label in sorted(medians):
            print(f"  {label:36} {at:7.1f} {at - previous:+7.1f}")
            previous = at
        print("  libraries mapped before the window showed: " + " ".join(runs[0][1]))
        print()


if __name__ == "__main__":
    main()
