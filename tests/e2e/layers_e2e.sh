#!/usr/bin/env bash
# Layers as a user builds them: a BMP of two colour columns gets a mask from
# one colour and a new layer from the other through the Select Color dialog;
# the Layer Manager adds a layer, names it, makes it translucent and lowers
# it. The saved native files hold exactly those layers.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

wait_documents() {
    for _ in $(seq 50); do
        [ "$(probe | grep -c '^document ')" = "$1" ] && return 0
        sleep 0.2
    done
    return 1
}
wait_file() { for _ in $(seq 50); do [ -s "$1" ] && return 0; sleep 0.2; done; return 1; }

# 16 x 16, columns 0-7 index 3, 8-15 index 5, grey palette.
python3 - "$work/columns.bmp" <<'PY'
import struct, sys
w = h = 16
pixels = bytes(([3] * 8 + [5] * 8) * h)
palette = b''.join(bytes([i, i, i, 0]) for i in range(256))
offset = 14 + 40 + 1024
info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, len(pixels), 0, 0, 256, 0)
head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
open(sys.argv[1], 'wb').write(head + info + palette + pixels)
PY

# vlx_layers FILE: one line per layer, bottom first: name, opacity, then the
# top row's pixels and mask bytes.
vlx_layers() {
    "$source_dir/scripts/wine-run" "$build/bin/vlx_layers.exe" "$(windows_path "$1")" | tr -d '\r'
}

save_as() {
    xdotool windowfocus --sync "$frame"
    xdotool key --clearmodifiers alt+f
    xdotool key a
    local dialog
    dialog=$(wait_window '^Save Picture$' 10) || return 1
    xdotool windowfocus --sync "$dialog"
    xdotool type "$(windows_path "$1")"
    xdotool key alt+t Home Return
    wait_file "$1"
}

choose_colour() {
    local dialog
    dialog=$(wait_window '^Select Color$' 10) || return 1
    xdotool windowfocus --sync "$dialog"
    xdotool key End BackSpace BackSpace BackSpace
    xdotool type "$1"
    xdotool key Return
}

start_velmo "$(windows_path "$work/columns.bmp")"
frame=$(wait_window '^Velmo$')
check "the picture opens" wait_documents 1

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers alt+m
xdotool key s
choose_colour 3
xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers alt+l
xdotool key n
choose_colour 5
save_as "$work/two.vlx"
layers=$(vlx_layers "$work/two.vlx")
check "two layers are saved" test "$(wc -l <<<"$layers")" = 2
zeros=0,0,0,0,0,0,0,0
full=255,255,255,255,255,255,255,255
check "the first layer's mask protects colour 3" \
    test "$(sed -n 1p <<<"$layers" | cut -d' ' -f4)" = "$zeros,$full"
check "the new layer holds colour 5 over its key colour" \
    test "$(sed -n 2p <<<"$layers" | cut -d' ' -f3)" = "$full,5,5,5,5,5,5,5,5"

window_menu l
manager=$(wait_window '^Layer Manager$' 10)
xdotool windowfocus --sync "$manager"
xdotool key Tab space            # New Layer
xdotool key Tab Tab Tab Tab      # the name box
xdotool type Sky
xdotool key Tab Tab Tab Tab Tab Tab
xdotool type 8                   # opacity
xdotool key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space
screenshot layers_manager
# Without a window manager the dialog keeps the keyboard; closing it hands
# the keys back to the frame.
xdotool key --clearmodifiers alt+F4
save_as "$work/three.vlx"
layers=$(vlx_layers "$work/three.vlx")
check "three layers are saved" test "$(wc -l <<<"$layers")" = 3
check "the named layer went one down with opacity 8" \
    test "$(sed -n 2p <<<"$layers" | cut -d' ' -f1-2)" = "Sky 8"

close_window "$frame"
wait_exit
check "exit code 0" test "$VELMO_RC" = 0
finish layers_e2e
