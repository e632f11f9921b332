#!/usr/bin/env bash
# A picture whose name lies outside the system's ANSI code page (the prefix
# runs in code page 1252): named on the command line it opens under its own
# name, and Ctrl+S writes it back to that name. The modified picture's Close
# question, fixed Japanese text, is kept as a screenshot.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
picture=$work/絵.gif
/usr/bin/convert -size 20x10 xc:red "$picture"
before=$(md5sum <"$picture")
gif=$(windows_path "$picture")

start_velmo "$gif"
frame=$(wait_window '^Velmo$')
report=
for _ in $(seq 50); do
    report=$(probe)
    grep -q '^document ' <<<"$report" && break
    sleep 0.2
done
check "the picture opens under its own name" grep -qxF "document $gif (20 x 10)" <<<"$report"

# Save asks to overwrite, then for the GIF options.
xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+s
question=$(wait_window '^Save Picture$' 10 || true)
check "Save asks to overwrite" test -n "$question"
[ -n "$question" ] && xdotool key --clearmodifiers Return
options=$(wait_window '^Save As GIF$' 10 || true)
check "Save asks for the GIF options" test -n "$options"
[ -n "$options" ] && xdotool key --clearmodifiers Return
for _ in $(seq 50); do [ "$(md5sum <"$picture")" != "$before" ] && break; sleep 0.2; done
check "the picture is written back to its name" test "$(md5sum <"$picture")" != "$before"
check "what is written is a GIF" test "$(head -c 3 "$picture")" = GIF
check "no second file appears" test "$(ls "$work" | wc -l)" = 1

# Drawing a dot modifies it; Ctrl+F4 asks the Close question, and No closes
# the picture unsaved.
read -r cx cy _ _ < <(probe | grep '^canvas ' | tail -n 1 | cut -d' ' -f2-)
xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+3
xdotool mousemove $((cx + 5)) $((cy + 5)) click 1
xdotool key --clearmodifiers ctrl+F4
close=$(wait_window '^絵を閉じる$' 10 || true)
check "closing the modified picture asks" test -n "$close"
sleep 0.5
screenshot close_question_japanese
[ -n "$close" ] && xdotool key --clearmodifiers n

close_window "$frame"
wait_exit || true
check "exit code 0" test "$VELMO_RC" = 0
finish unicode_name_e2e
