# Helpers for end-to-end tests: start velmo.exe under the Wine runner, find
# its windows with xdotool and wait for it to end. Sourced by *_e2e.sh.
set -euo pipefail

build=${VELMO_BUILD_DIR:?run through ctest in the win32 build}
source_dir=${VELMO_SOURCE_DIR:?}
. "$build/wine-session.env"
export DISPLAY
artefacts=$build/e2e-artefacts
mkdir -p "$artefacts"

# windows_path PATH: the name Wine's programs use for a Linux path (every
# prefix maps drive Z: to the root; winepath needs a loader on PATH).
windows_path() {
    local p=$1
    echo "Z:${p//\//\\}"
}

# settings KEY VALUE: one number of the program's registry settings, for
# the next start.
settings() {
    "$source_dir/scripts/wine-run" reg add 'HKCU\Software\Korvane\Velmo\2.00' /v "$1" \
        /t REG_DWORD /d "$2" /f >/dev/null 2>&1
}

# Every script starts the program with its default settings (the scripts
# share one Wine prefix, and a window one of them left open would stand over
# the next one's canvas), except that the tool window stands beside the
# frame instead of over its top left corner, where the scripts click.
"$source_dir/scripts/wine-run" reg delete 'HKCU\Software\Korvane\Velmo' /f >/dev/null 2>&1 || true
settings tool_left 700

# start_velmo [ARGS...]: starts the program; sets VELMO_PID.
start_velmo() {
    "$source_dir/scripts/wine-run" "$build/bin/velmo.exe" "$@" >>"$artefacts/velmo.log" 2>&1 &
    VELMO_PID=$!
}

# wait_window TITLE-REGEX [SECONDS]: prints the X window id of the first
# visible window whose title matches.
wait_window() {
    local deadline=$((SECONDS + ${2:-30})) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    echo "no window matching '$1' within ${2:-30} s" >&2
    return 1
}

# window_menu KEY: opens the frame's Window menu (the frame is $frame) and
# chooses the item whose access key is KEY.
window_menu() {
    xdotool windowfocus --sync "$frame"
    xdotool key --clearmodifiers alt+w
    sleep 0.3
    xdotool key "$1"
}

# close_window ID: gives the window the keyboard focus and presses Alt+F4,
# as a user would.
close_window() {
    # With no window manager, the focus alone does not make a window active
    # after a floating window of the program was: a click on its caption does.
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + 8)) click 1
    xdotool windowfocus --sync "$1"
    xdotool key --clearmodifiers alt+F4
}

# wait_exit [SECONDS]: waits for velmo.exe to end; sets VELMO_RC to its exit
# code. Call it in the test's own shell, not in $(...): only the shell that
# started the program can wait for it.
wait_exit() {
    local deadline=$((SECONDS + ${1:-30}))
    while kill -0 "$VELMO_PID" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || { echo "velmo.exe did not end" >&2; kill "$VELMO_PID"; return 1; }
        sleep 0.2
    done
    VELMO_RC=0
    wait "$VELMO_PID" || VELMO_RC=$?
}

# screenshot NAME: keeps a picture of the whole screen as an artefact.
screenshot() {
    import -window root "$artefacts/$1.png" 2>/dev/null || true
}

# check DESCRIPTION COMMAND...: runs one check, counting it in PASSED or
# FAILED; finish NAME prints the closing line and fails when a check did.
PASSED=0
FAILED=0
check() {
    local what=$1
    shift
    if "$@"; then PASSED=$((PASSED + 1)); else echo "FAILED: $what" >&2; FAILED=$((FAILED + 1)); fi
}
finish() {
    echo "$1: $PASSED passed, $FAILED failed"
    [ "$FAILED" = 0 ]
}

# probe: what velmo_probe.exe reports of the running program (the canvas
# and floating windows' places: MDI children are no X windows).
probe() { "$source_dir/scripts/wine-run" "$build/bin/velmo_probe.exe" | tr -d '\r'; }
# probe_line KEY: the values of the probe's last line starting with KEY,
# once the probe reports one.
probe_line() {
    local report
    for _ in $(seq 50); do
        report=$(probe)
        grep -q "^$1 " <<<"$report" && { grep "^$1 " <<<"$report" | tail -n 1 | cut -d' ' -f2-; return 0; }
        sleep 0.2
    done
    return 1
}
# save_bmp FRAME FILE: Ctrl+S on the named BMP picture: overwrite, 256
# colours; waits until the file has changed.
save_bmp() {
    local before
    before=$(stat -c %Y.%s "$2")
    xdotool windowfocus --sync "$1"
    xdotool key --clearmodifiers ctrl+s
    wait_window '^Save Picture$' 10 >/dev/null
    xdotool key Return
    wait_window '^Save As Bitmap$' 10 >/dev/null
    xdotool key Return
    for _ in $(seq 50); do [ "$(stat -c %Y.%s "$2")" != "$before" ] && break; sleep 0.2; done
    sleep 0.5
}
