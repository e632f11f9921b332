#!/usr/bin/env bash
# The animation test as a user works it: a 96 x 32 sprite sheet of three
# 32 x 32 cells (greys 40, 80 and 120) is opened, the zoom window's Utility,
# Animation Test opens the dialog, clicks on the preview pick cells 3, 1 and
# 2, Export GIF writes them: the GIF has three 32 x 32 frames in that order,
# each with delay 10, and the looping block of Repeat (endless). Escape
# closes the dialog and the program ends cleanly.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
picture=$work/sheet.bmp
gif=$work/cells.gif

PYTHONPATH="$source_dir/tests/e2e" /usr/bin/python3 - "$picture" <<'PY'
import sys
import bmp8
bmp8.write(sys.argv[1], [[40 * (1 + x // 32) for x in range(96)] for _ in range(32)])
PY

start_velmo "$(windows_path "$picture")"
frame=$(wait_window '^Velmo')
probe_line canvas >/dev/null

window_menu z
zoom=$(wait_window '^Zoom$')
sleep 0.5
# A click on the status bar makes the zoom window the active one, so that
# its menu takes the keys.
eval "$(xdotool getwindowgeometry --shell "$zoom")"
xdotool mousemove $((X + 20)) $((Y + HEIGHT - 6)) click 1
sleep 0.3
xdotool key --clearmodifiers alt+u
sleep 0.3
xdotool key a
anime=$(wait_window '^Animation Test$')
read -r px py pw ph < <(probe_line animepreview)
# The sheet fits the preview, so it is shown 1:1 in the middle.
left=$((px + (pw - 96) / 2))
top=$((py + (ph - 32) / 2))
for cell in 2 0 1; do
    xdotool mousemove $((left + 32 * cell + 16)) $((top + 16)) click 1
    sleep 0.3
done
screenshot anime_test_picked

read -r ex ey < <(probe_line animeexport)
xdotool mousemove "$ex" "$ey" click 1
wait_window '^Export GIF$' 10 >/dev/null
sleep 0.5
xdotool type --delay 20 "$(windows_path "$gif")"
xdotool key Return
for _ in $(seq 50); do [ -s "$gif" ] && break; sleep 0.2; done
sleep 0.5

frames=$(/usr/bin/convert "$gif" -format '%w %h %T %[fx:int(255*p{5,5}.r+0.5)]\n' info: 2>/dev/null || true)
check "three 32 x 32 frames of delay 10 in the order 3, 1, 2" \
    test "$frames" = "$(printf '32 32 10 120\n32 32 10 40\n32 32 10 80')"
# The looping block: sub-block 03 01, then the count 0 (endless) as Repeat is on.
loops() {
    /usr/bin/python3 - "$gif" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
at = data.find(b'NETSCAPE2.0')
sys.exit(0 if at > 0 and data[at + 11:at + 16] == b'\x03\x01\x00\x00\x00' else 1)
PY
}
check "the looping block repeats endlessly" loops

xdotool windowfocus --sync "$anime"
xdotool key --clearmodifiers Escape
gone() {
    for _ in $(seq 25); do
        xdotool search --onlyvisible --name '^Animation Test$' >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    return 1
}
check "Escape closes the dialog" gone

close_window "$frame"
wait_exit
check "exit code 0" test "$VELMO_RC" = 0
finish anime_test_e2e
