#!/usr/bin/env bash
# Fluid Fill as a user does it: a 64 x 64 BMP of 255 with a square outline of
# index 0 from (10, 10) to (50, 50) and pixel (60, 60) = 4 is opened, Ctrl+4
# takes Fluid Fill, a right click on (60, 60) picks 4, a left click inside
# the square fills it, Ctrl+S saves: every pixel 11..49 is 4 and nothing
# else changed. Ctrl+Z and saving again give the picture back.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
picture=$work/square.bmp

# bmp.py make|pixels FILE: writes the test picture, or prints its pixels
# as 64 lines of 64 numbers, top row first.
cat >"$work/bmp.py" <<'PY'
import sys
import bmp8
side = 64
def make(path):
    rows = [[255] * side for _ in range(side)]
    for i in range(10, 51):
        rows[10][i] = rows[50][i] = rows[i][10] = rows[i][50] = 0
    rows[60][60] = 4
    bmp8.write(path, rows)
{'make': make, 'pixels': bmp8.pixels}[sys.argv[1]](sys.argv[2])
PY
bmp() { PYTHONPATH="$source_dir/tests/e2e" /usr/bin/python3 "$work/bmp.py" "$@"; }
bmp make "$picture"
bmp pixels "$picture" >"$work/before.txt"

start_velmo "$(windows_path "$picture")"
frame=$(wait_window '^Velmo')
read -r cx cy cw ch < <(probe_line canvas)
check "the picture is open at 64 x 64" test "$cw x $ch" = "64 x 64"

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+4
xdotool mousemove $((cx + 60)) $((cy + 60))
xdotool click 3 # the first click gives the canvas the focus
xdotool click 3
xdotool mousemove $((cx + 30)) $((cy + 30))
xdotool click 1
sleep 0.5
screenshot fill_filled
save_bmp "$frame" "$picture"
bmp pixels "$picture" >"$work/filled.txt"

inside_filled() {
    awk 'NR >= 12 && NR <= 50 { for (x = 12; x <= 50; ++x) if ($x != 4) exit 1 }' "$work/filled.txt"
}
outside_kept() {
    paste -d'|' "$work/before.txt" "$work/filled.txt" | awk -F'|' '{
        split($1, a, " "); split($2, b, " ")
        for (x = 1; x <= 64; ++x)
            if (!(NR >= 12 && NR <= 50 && x >= 12 && x <= 50) && a[x] != b[x]) exit 1 }'
}
check "every pixel 11..49 is 4" inside_filled
check "nothing outside the square changed" outside_kept

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+z
sleep 0.5
save_bmp "$frame" "$picture"
bmp pixels "$picture" >"$work/undone.txt"
check "Ctrl+Z gives the picture back" cmp -s "$work/before.txt" "$work/undone.txt"

close_window "$frame"
wait_exit
check "exit code 0" test "$VELMO_RC" = 0
finish fill_e2e
