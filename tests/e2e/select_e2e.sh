#!/usr/bin/env bash
# Select Area as a user does it: a 32 x 32 BMP of 255 with an index-9 block
# at 2..5 is opened, Ctrl+1 takes Select Area, a drag selects around the
# block, a second drag moves the area by (10, 8), a click outside commits it
# and Ctrl+S saves: the block is at both places and nothing else changed.
# Then, with Snap to Grid on, a drag along a grid line selects nothing and
# the program goes on.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
picture=$work/block.bmp

# bmp.py make|pixels FILE: writes the test picture, or prints its pixels as
# 32 lines of 32 numbers, top row first.
cat >"$work/bmp.py" <<'PY'
import sys
import bmp8
side = 32
def make(path):
    rows = [[255] * side for _ in range(side)]
    for y in range(2, 6):
        for x in range(2, 6):
            rows[y][x] = 9
    bmp8.write(path, rows)
{'make': make, 'pixels': bmp8.pixels}[sys.argv[1]](sys.argv[2])
PY
bmp() { PYTHONPATH="$source_dir/tests/e2e" /usr/bin/python3 "$work/bmp.py" "$@"; }
bmp make "$picture"

# drag X0 Y0 X1 Y1: a left-button drag between two canvas points.
drag() {
    xdotool mousemove $((cx + $1)) $((cy + $2)) mousedown 1
    sleep 0.2
    xdotool mousemove $((cx + ($1 + $3) / 2)) $((cy + ($2 + $4) / 2))
    sleep 0.1
    xdotool mousemove $((cx + $3)) $((cy + $4))
    sleep 0.2
    xdotool mouseup 1
    sleep 0.3
}

start_velmo "$(windows_path "$picture")"
frame=$(wait_window '^Velmo')
read -r cx cy cw ch < <(probe_line canvas)
check "the picture is open at 32 x 32" test "$cw x $ch" = "32 x 32"

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+1
xdotool mousemove $((cx + 20)) $((cy + 20))
xdotool click 3 # the canvas takes the focus
drag 1 1 7 7
drag 3 3 13 11
screenshot select_moved
xdotool mousemove $((cx + 28)) $((cy + 28)) click 1
sleep 0.5

save_bmp "$frame" "$picture"
bmp pixels "$picture" >"$work/saved.txt"

block_at_both_places() {
    awk '{ for (x = 1; x <= 32; ++x) {
             px = x - 1; py = NR - 1
             in_block = (px >= 2 && px <= 5 && py >= 2 && py <= 5) ||
                        (px >= 12 && px <= 15 && py >= 10 && py <= 13)
             if ((in_block && $x != 9) || (!in_block && $x != 255)) exit 1 } }' "$work/saved.txt"
}
check "the block is at 2..5 and at 12..15, 10..13, nothing else changed" block_at_both_places

# Snap to Grid (View menu, after Picture, Mask Plane and Grid).
xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers alt+v
sleep 0.3
xdotool key Down Down Down Return
sleep 0.3
drag 1 17 17 17
sleep 0.3
check "a drag along a grid line leaves the program running" test "$(probe | grep -c '^document ')" = 1
screenshot select_snapped
save_bmp "$frame" "$picture"
bmp pixels "$picture" >"$work/snapped.txt"
check "the snapped drag changed nothing" cmp -s "$work/saved.txt" "$work/snapped.txt"

close_window "$frame"
wait_exit
check "exit code 0" test "$VELMO_RC" = 0
finish select_e2e
