#!/usr/bin/env bash
# Drawing as a user does it: Ctrl+N makes a 120 x 80 picture, Ctrl+3 takes
# the Pen, the mouse draws a stroke, Ctrl+S saves it as .vlx through the
# save dialog, Ctrl+F4 closes it without a question, Ctrl+O opens the file
# again and the canvas shows exactly the pixels it showed before saving.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
saved=$work/stroke.vlx

# wait_canvas COUNT: waits until COUNT pictures are open; prints the last
# canvas rectangle (screen x, y, width, height).
wait_canvas() {
    local report
    for _ in $(seq 50); do
        report=$(probe)
        if [ "$(grep -c '^document ' <<<"$report")" = "$1" ]; then
            grep '^canvas ' <<<"$report" | tail -n 1 | cut -d' ' -f2-
            return 0
        fi
        sleep 0.2
    done
    return 1
}
# canvas_picture NAME X Y W H: the canvas as the screen shows it.
canvas_picture() {
    import -window root "$work/screen.png"
    /usr/bin/convert "$work/screen.png" -crop "${4}x${5}+${2}+${3}" +repage "$work/$1.png"
}

start_velmo
frame=$(wait_window '^Velmo$')
xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+n
dialog=$(wait_window '^New Picture$' 10)
xdotool key --clearmodifiers End BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type 120
xdotool key Tab End BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type 80
xdotool key Return
read -r cx cy cw ch < <(wait_canvas 1)
check "the new picture's canvas is 120 x 80" test "$cw x $ch" = "120 x 80"

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+3
xdotool mousemove $((cx + 20)) $((cy + 20))
xdotool mousedown 1
for i in $(seq 1 12); do
    xdotool mousemove $((cx + 20 + 5 * i)) $((cy + 20 + 2 * i))
done
xdotool mouseup 1
# The Rotring shows no footprint: the canvas shows the picture alone.
xdotool key --clearmodifiers ctrl+2
xdotool mousemove 0 0
sleep 0.5
canvas_picture drawn "$cx" "$cy" "$cw" "$ch"
screenshot draw_stroke
colours=$(/usr/bin/convert "$work/drawn.png" -format %k info:)
check "the stroke shows on the canvas" test "$colours" -ge 2

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+s
save=$(wait_window '^Save Picture$' 10)
xdotool type "$(windows_path "$saved")"
xdotool key Return
for _ in $(seq 50); do [ -s "$saved" ] && break; sleep 0.2; done
check "the picture is saved" test -s "$saved"
check "the file is a native picture" test "$(head -c 3 "$saved")" = VLX

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+F4
check "closing a saved picture asks nothing" wait_canvas 0

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+o
open=$(wait_window '^Open Picture$' 10)
xdotool type "$(windows_path "$saved")"
xdotool key Return
read -r cx cy cw ch < <(wait_canvas 1)
xdotool mousemove 0 0
sleep 0.5
canvas_picture reopened "$cx" "$cy" "$cw" "$ch"
screenshot draw_reopened
differing=$(/usr/bin/compare -metric AE "$work/drawn.png" "$work/reopened.png" null: 2>&1 || true)
check "the reopened picture shows the same pixels" test "$differing" = 0

close_window "$frame"
wait_exit
check "exit code 0" test "$VELMO_RC" = 0
finish draw_e2e
