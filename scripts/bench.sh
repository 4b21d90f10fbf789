# Sourced by the scripts that run Windows programs: starts a private Xvfb on a free display and
# makes (once) a private Wine prefix under the build tree. Call bench_stop when done.
# Usage: source scripts/bench.sh; bench_start BUILD_DIR
bench_start() {
    local build_dir=$1
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX="$build_dir/wineprefix"
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    # Wide enough for the 16:9 virtual desktop (1280x720) of the scaled full-screen tests.
    Xvfb ":$n" -screen 0 1280x768x24 -nolisten tcp >/dev/null 2>&1 &
    BENCH_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Making the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wine wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
    # Window captions draw their buttons with the Marlett font, which a new prefix lacks (the
    # close box shows an "r" instead of its cross); Debian's fonts-wine has it.
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
        mkdir -p "$fonts"
        cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
    # Japanese text: Wine's stand-ins for the UI fonts (Liberation Sans) have no Japanese, and
    # Wine, as Windows, links a UI font to fonts of other scripts only through the SystemLink
    # key. Debian's fonts-vlgothic has Japanese and Cyrillic; its proportional face, as the UI
    # fonts are (the other one draws Latin letters at a fixed width).
    local cjk=/usr/share/fonts/truetype/vlgothic/VL-PGothic-Regular.ttf
    if [ -f "$cjk" ] && [ ! -f "$fonts/VL-PGothic-Regular.ttf" ]; then
        cp "$cjk" "$fonts/"
        local link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
        for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI"; do
            wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'VL-PGothic-Regular.ttf,VL PGothic' \
                /f >/dev/null 2>&1 || true
        done
    fi
    # Keep one Wine server up for the whole run: each program then starts quickly.
    wineserver -p 300 >/dev/null 2>&1 || true
    # Windows are not left to a window manager (there is none on the bench): with managed
    # windows Wine waits two seconds for one at every window it hides, message boxes included.
    # This first program also starts Wine's own background processes (services, desktop) with
    # their output going nowhere: started by the first test program instead, they would
    # inherit its output pipes and keep the test runner waiting until the server ends.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    # A crash fails its test at once: without a debugger Wine does not wait for one for ever.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' \
        /f >/dev/null 2>&1 || true
}

bench_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${BENCH_XVFB_PID:-}" ]; then
        kill "$BENCH_XVFB_PID" 2>/dev/null || true
        wait "$BENCH_XVFB_PID" 2>/dev/null || true
    fi
}
