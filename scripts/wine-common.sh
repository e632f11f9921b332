# Shared by wine-run and wine-session: the environment of one build folder's
# Wine prefix, and the steps that make the prefix and a headless display.
# Sourced, not run.

wine_setup_env() { # build-folder
    local build
    build=$(cd "$1" && pwd)
    export VELMO_BUILD_DIR=$build
    # A run that must not share the build's prefix (the soak gives each of
    # its runs one of its own) names it in VELMO_WINEPREFIX; its session file
    # lies beside it.
    export WINEPREFIX=${VELMO_WINEPREFIX:-$build/wineprefix}
    # The build folder says which Windows it targets (written by CMake).
    export WINEARCH
    WINEARCH=$(cat "$build/wine-arch" 2>/dev/null || echo win32)
    if [ "$WINEARCH" = win64 ]; then
        export WINELOADER=/usr/lib/wine/wine64
    else
        export WINELOADER=/usr/lib/wine/wine
    fi
    export WINEDEBUG=${WINEDEBUG:--all}
    # No installer prompt for Mono or Gecko may ever wait for a click.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    local bin_win="Z:${build//\//\\}\\bin"
    export WINEPATH=$bin_win
    WINE_SESSION_FILE=$build/wine-session.env
    [ -z "${VELMO_WINEPREFIX:-}" ] || WINE_SESSION_FILE=$WINEPREFIX.session.env
}

# Creates the prefix once: Wine's own files, then window captions drawn by
# Wine itself, since no window manager runs under Xvfb. Wine's own fonts
# have no Japanese; its font links for the dialog fonts name "MS UI Gothic",
# for which VL PGothic (installed by scripts/bootstrap) stands in, so the
# program's Japanese texts show as text. That step has its own mark, so
# prefixes made before it get it too.
wine_ensure_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.velmo-ready" ]; then
            "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
            "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
            wineserver -w
            touch "$WINEPREFIX/.velmo-ready"
        fi
        if [ ! -f "$WINEPREFIX/.velmo-japanese-font" ]; then
            "$WINELOADER" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' \
                /d 'VL PGothic' /f >/dev/null 2>&1
            wineserver -w
            touch "$WINEPREFIX/.velmo-japanese-font"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# Starts Xvfb on a free display; sets DISPLAY and XVFB_PID.
start_xvfb() {
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "wine: Xvfb did not start on $DISPLAY" >&2
    return 1
}
