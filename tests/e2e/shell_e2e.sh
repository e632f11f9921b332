#!/usr/bin/env bash
# The shell as a user meets it: velmo.exe started with a GIF and a BMP opens
# both as document windows captioned "<path> (<width> x <height>)"; the menu
# bar has "&File" first, "&Filter" third, "&Tools" fourth and "&Window"
# eighth; Ctrl+N and File > New open the New Picture dialog; Alt+F4 ends the
# program.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/convert -size 20x10 xc:red "$work/small.gif"
/usr/bin/convert -size 30x12 xc:blue -type Palette -depth 8 "BMP3:$work/blue.bmp"
gif=$(windows_path "$work/small.gif")
bmp=$(windows_path "$work/blue.bmp")

start_velmo "$gif" "$bmp"
frame=$(wait_window '^Velmo$')
report=
for _ in $(seq 50); do
    report=$(probe)
    [ "$(grep -c '^document ' <<<"$report")" -ge 2 ] && break
    sleep 0.2
done
screenshot shell_open
check "GIF window caption" grep -qxF "document $gif (20 x 10)" <<<"$report"
check "BMP window caption" grep -qxF "document $bmp (30 x 12)" <<<"$report"
check "&File first" grep -qxF "menu 0 &File" <<<"$report"
check "&Filter third" grep -qxF "menu 2 &Filter" <<<"$report"
check "&Tools fourth" grep -qxF "menu 3 &Tools" <<<"$report"
check "&Window eighth" grep -qxF "menu 7 &Window" <<<"$report"

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers ctrl+n
dialog=$(wait_window '^New Picture$' 10 || true)
check "Ctrl+N opens New Picture" test -n "$dialog"
screenshot shell_new_picture
[ -n "$dialog" ] && close_window "$dialog"

# The same dialog through the menu bar, as a keyboard user reaches it.
xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers alt+f n
dialog=$(wait_window '^New Picture$' 10 || true)
check "File > New opens New Picture" test -n "$dialog"
[ -n "$dialog" ] && close_window "$dialog"

# Both pictures are unchanged, so closing asks nothing.
close_window "$frame"
wait_exit || true
check "exit code 0" test "$VELMO_RC" = 0
finish shell_e2e
