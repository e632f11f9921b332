#!/usr/bin/env bash
# Pens as a user edits them: the tool window is on the screen above the frame
# from the start; with a new picture, the toolbar's Pen Window button opens
# the pen window, a double click on slot 3 opens "Edit Pen" on
# that pen, and a left click on its top-left cell makes that pixel part of
# the shape. "Save Pen..." in the pen window's system menu writes the pens
# before and after: the files differ in exactly that byte, 255 before and 0
# after. Exit with the pen window open leaves PenOn = 1 in the registry.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
key='HKCU\Software\Korvane\Velmo\2.00'
reg() { "$source_dir/scripts/wine-run" reg "$@" 2>/dev/null | tr -d '\r'; }
# client NAME: the screen rectangle (x y w h) of a floating window's client
# area, once the window is on the screen.
client() {
    local line
    for _ in $(seq 50); do
        line=$(probe | grep "^$1 " || true)
        [ -n "$line" ] && { cut -d' ' -f2- <<<"$line"; return 0; }
        sleep 0.2
    done
    return 1
}
# save_pens FILE: "Save Pen..." from the pen window's system menu.
save_pens() {
    xdotool windowfocus --sync "$pen"
    xdotool key --clearmodifiers alt+space
    sleep 0.5
    xdotool key Return
    wait_window '^Save Pen$' 10 >/dev/null
    xdotool type "$(windows_path "$1")"
    xdotool key Return
    for _ in $(seq 50); do [ -s "$1" ] && return 0; sleep 0.2; done
    return 1
}

# A run that ended with the pen window open would reopen it with the picture.
reg add "$key" /v PenOn /t REG_DWORD /d 0 /f >/dev/null
start_velmo
frame=$(wait_window '^Velmo$')
sleep 1
screenshot pen_start
stacking=$(xwininfo -root -children | grep -oE '"(tool|Velmo)"' | tr -d '"' | tr '\n' ' ')
check "the tool window is above the frame at start" test "$stacking" = "tool Velmo "

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+n
wait_window '^New Picture$' 10 >/dev/null
xdotool key Return
wait_window '^Velmo$' >/dev/null
sleep 1
# The toolbar's Pen Window button: the tenth place, after three buttons, a
# separator, four buttons, a separator and the Palette Window button.
read -r fx fy < <(xdotool getwindowgeometry "$frame" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
xdotool mousemove $((fx + 248)) $((fy + 57)) click 1
pen=$(wait_window '^Pen$' 10)
read -r px py _ < <(client pen)
check "the pen window's client area is 320 x 80" test "$(client pen | cut -d' ' -f3-)" = "320 80"
check "the pens are saved before the edit" save_pens "$work/before.vln"

xdotool mousemove $((px + 3 * 40 + 20)) $((py + 20)) click --repeat 2 --delay 80 1
editor=$(wait_window '^Edit Pen$' 10)
read -r ex ey ew eh < <(client penmake)
check "the pen editor's client area is 320 x 320" test "$ew x $eh" = "320 x 320"
xdotool mousemove $((ex + 5)) $((ey + 5)) click 1
sleep 0.5
screenshot pen_edited
# Keys now go to the editor; it is closed so that Alt+Space reaches the pen
# window's menu. The edit stays in the shared slot.
close_window "$editor"
sleep 0.5
check "the pens are saved after the edit" save_pens "$work/after.vln"

# Slot 3's block starts at 144 + 3 * 1024; its top row is the last of 32
# bottom-up rows.
cell=$((144 + 3 * 1024 + 31 * 32 + 1))
differences=$(cmp -l "$work/before.vln" "$work/after.vln" | awk '{print $1, $2, $3}' || true)
check "only the clicked pixel changed, from 255 to 0" test "$differences" = "$cell 377 0"

screenshot pen_saved
# A click on the empty workspace makes the frame the active window for Alt+F4.
xdotool mousemove $((fx + 400)) $((fy + 300)) click 1
sleep 0.5
close_window "$frame"
wait_exit
check "exit code 0" test "$VELMO_RC" = 0
check "PenOn is 1 after Exit with the pen window open" \
    grep -qE 'PenOn +REG_DWORD +0x1$' <<<"$(reg query "$key" /v PenOn)"
finish pen_e2e
