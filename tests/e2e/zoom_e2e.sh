#!/usr/bin/env bash
# The zoom editor as a user works it: a 64 x 64 BMP of 255 is opened, Window,
# Zoom Window opens "Zoom" at factor 10 over the area at (0, 0), a click at
# (25, 37) of its display draws one pixel in the left colour (0), Ctrl+S
# saves: only pixel (2, 3) of the file changed. The zoom window, dragged by
# its caption and closed with Alt+F4, releases the frame's toolbar button and
# leaves its place in zoom_left and zoom_top for the next start.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
picture=$work/plain.bmp

# bmp.py make|pixels FILE: writes the test picture, or prints its pixels as
# 64 lines of 64 numbers, top row first.
cat >"$work/bmp.py" <<'PY'
import sys
import bmp8
side = 64
def make(path):
    bmp8.write(path, [[255] * side for _ in range(side)])
{'make': make, 'pixels': bmp8.pixels}[sys.argv[1]](sys.argv[2])
PY
bmp() { PYTHONPATH="$source_dir/tests/e2e" /usr/bin/python3 "$work/bmp.py" "$@"; }
bmp make "$picture"
bmp pixels "$picture" >"$work/before.txt"

# registry_value NAME: a DWORD setting the program saved, in decimal.
registry_value() {
    local hex
    hex=$("$source_dir/scripts/wine-run" reg query 'HKCU\Software\Korvane\Velmo\2.00' /v "$1" 2>/dev/null |
        tr -d '\r' | awk -v name="$1" '$1 == name { print $3 }')
    [ -n "$hex" ] && echo $((hex))
}

start_velmo "$(windows_path "$picture")"
frame=$(wait_window '^Velmo')
probe_line canvas >/dev/null

window_menu z
zoom=$(wait_window '^Zoom$')
read -r dx dy dw dh < <(probe_line zoomdisp)
check "the display shows 32 x 32 cells at factor 10" test "$dw x $dh" = "320 x 320"
check "the toolbar button is pressed" test "$(probe_line zoombutton)" = 1

xdotool mousemove $((dx + 25)) $((dy + 37))
xdotool click 1
sleep 0.5
screenshot zoom_clicked

before=$(stat -c %Y.%s "$picture")
xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+s
wait_window '^Save Picture$' 10 >/dev/null
xdotool key Return
wait_window '^Save As Bitmap$' 10 >/dev/null
xdotool key Return
for _ in $(seq 50); do [ "$(stat -c %Y.%s "$picture")" != "$before" ] && break; sleep 0.2; done
sleep 0.5
bmp pixels "$picture" >"$work/after.txt"
only_pixel_2_3() {
    paste -d'|' "$work/before.txt" "$work/after.txt" | awk -F'|' '{
        split($1, a, " "); split($2, b, " ")
        for (x = 1; x <= 64; ++x) {
            changed = a[x] != b[x]
            if (changed != (NR == 4 && x == 3)) exit 1
        } }'
}
check "only pixel (2, 3) changed" only_pixel_2_3

# Drag the zoom window by its caption, then close it.
read -r zx zy < <(xdotool getwindowgeometry "$zoom" | awk '/Position/ { split($2, p, ","); print p[1], p[2] }')
xdotool mousemove $((zx + 40)) $((zy + 8)) mousedown 1
xdotool mousemove $((zx + 90)) $((zy + 40))
xdotool mousemove $((zx + 140)) $((zy + 68)) mouseup 1
sleep 0.5
read -r zx zy < <(xdotool getwindowgeometry "$zoom" | awk '/Position/ { split($2, p, ","); print p[1], p[2] }')
zh=$(xdotool getwindowgeometry "$zoom" | awk '/Geometry/ { split($2, g, "x"); print g[2] }')
# A click on the status bar makes the zoom window the active one, so that
# Alt+F4 closes it and not the frame.
xdotool mousemove $((zx + 20)) $((zy + zh - 6)) click 1
sleep 0.3
close_window "$zoom"
button_released() {
    for _ in $(seq 25); do
        [ "$(probe_line zoombutton)" = 0 ] && return 0
        sleep 0.2
    done
    return 1
}
check "closing releases the toolbar button" button_released
screenshot zoom_closed

close_window "$frame"
wait_exit
check "exit code 0" test "$VELMO_RC" = 0
check "zoom_left is where the window was" test "$(registry_value zoom_left)" = "$zx"
check "zoom_top is where the window was" test "$(registry_value zoom_top)" = "$zy"
finish zoom_e2e
