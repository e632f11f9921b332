#!/usr/bin/env bash
# The animation view as a user opens it: a 32 x 32 GIF of three frames (red,
# green, blue, half a second each) opens as three layers; Window, Animation
# View shows them in turn, caught in three distinct screenshots of the view.
# Exit while it plays ends the program with code 0.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
picture=$work/three.gif
convert -size 32x32 -delay 50 xc:red xc:lime xc:blue -loop 0 "$picture"

# view_colour ID: a pixel in the lower middle of the window's client area
# (the caption is at its top), as #RRGGBB.
view_colour() {
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window "$1" -crop "1x1+$((WIDTH / 2))+$((HEIGHT - 12))" -depth 8 txt:- 2>/dev/null |
        grep -o '#[0-9A-F]\{6\}'
}

start_velmo "$(windows_path "$picture")"
frame=$(wait_window '^Velmo')
probe_line canvas >/dev/null
window_menu n
view=$(wait_window '^Animation$')

declare -A seen
for _ in $(seq 40); do
    colour=$(view_colour "$view") || continue
    [ -n "${seen[$colour]:-}" ] || { seen[$colour]=1; screenshot "animation_frame_${#seen[@]}"; }
    [ ${#seen[@]} -ge 3 ] && break
    sleep 0.15
done
echo "colours seen: ${!seen[*]}"
check "three distinct frames are shown" test ${#seen[@]} = 3
check "they are the GIF's red, green and blue" \
    test "${seen[#FF0000]:-}${seen[#00FF00]:-}${seen[#0000FF]:-}" = 111

close_window "$frame"
wait_exit
check "Exit while the view plays ends with code 0" test "$VELMO_RC" = 0
finish animation_e2e
