#!/usr/bin/env bash
# The palette window as a user works it: a 16 x 16 BMP whose pixels run
# through indexes 0 to 15 is opened, the Window menu opens the palette
# window, a Shift-drag takes cell 3 onto cell 7, Ctrl+S saves the BMP:
# entries 3 and 7 and the pixels 3 and 7 have traded places, and the screen
# looks as before. After Exit the registry says the palette was open.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
picture=$work/ramp.bmp

# bmp.py make|dump FILE: writes the picture (pixel x + 16 y & 15, palette
# entry i = (i, 2i, 255 - i)), or prints entries 3 and 7 and the pixels.
cat >"$work/bmp.py" <<'PY'
import struct, sys
side = 16
def make(path):
    bits = bytes((x + y) & 15 for y in range(side) for x in range(side))
    palette = b''.join(struct.pack('<BBBB', 255 - i, (2 * i) & 255, i, 0) for i in range(256))
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, side, side, 1, 8, 0, len(bits), 0, 0, 256, 0)
    open(path, 'wb').write(header + info + palette + bits)
def dump(path):
    data = open(path, 'rb').read()
    offset, = struct.unpack_from('<I', data, 10)
    size, = struct.unpack_from('<I', data, 14)
    table = 14 + size
    for i in (3, 7):
        print('entry', i, data[table + 4 * i:table + 4 * i + 3].hex())
    print('pixels', data[offset:offset + side * side].hex())
{'make': make, 'dump': dump}[sys.argv[1]](sys.argv[2])
PY
bmp() { /usr/bin/python3 "$work/bmp.py" "$@"; }
bmp make "$picture"
bmp dump "$picture" >"$work/before.txt"

# canvas_shot NAME: the canvas's 16 x 16 pixels, as the screen shows them.
canvas_shot() {
    import -window root -crop "16x16+$cx+$cy" "$work/$1.ppm" 2>/dev/null
}

# The palette window opens beside the picture, not over it.
settings pal_left 700
start_velmo "$(windows_path "$picture")"
frame=$(wait_window '^Velmo')
read -r cx cy _ < <(probe_line canvas)
window_menu p
read -r gx gy < <(probe_line palette-grid)
check "the palette window opens" test -n "$gx"
sleep 0.5
canvas_shot before
screenshot palette_before

# Cell i lies at (16 (i mod 16) + 8, 12 (i div 16) + 6) of the grid.
xdotool mousemove $((gx + 3 * 16 + 8)) $((gy + 6))
xdotool keydown shift
xdotool mousedown 1
for x in 70 90 110 $((7 * 16 + 8)); do
    xdotool mousemove $((gx + x)) $((gy + 6))
    sleep 0.1
done
xdotool mouseup 1
xdotool keyup shift
sleep 0.5
canvas_shot after
screenshot palette_after
check "the screen does not change" cmp -s "$work/before.ppm" "$work/after.ppm"

save_bmp "$frame" "$picture"
bmp dump "$picture" >"$work/after.txt"
swapped() {
    local e3 e7 p0 p1
    e3=$(grep '^entry 3 ' "$work/before.txt" | cut -d' ' -f3)
    e7=$(grep '^entry 7 ' "$work/before.txt" | cut -d' ' -f3)
    grep -qx "entry 3 $e7" "$work/after.txt" && grep -qx "entry 7 $e3" "$work/after.txt" || return 1
    p0=$(grep '^pixels ' "$work/before.txt" | cut -d' ' -f2 | sed 's/../& /g')
    p1=$(grep '^pixels ' "$work/after.txt" | cut -d' ' -f2 | sed 's/../& /g')
    test "$(tr ' ' '\n' <<<"$p0" | sed 's/^03$/xx/; s/^07$/03/; s/^xx$/07/' | tr '\n' ' ')" = \
        "$(tr ' ' '\n' <<<"$p1" | tr '\n' ' ')"
}
check "entries 3 and 7 and their pixels are swapped" swapped

close_window "$frame"
wait_exit
check "exit code 0" test "$VELMO_RC" = 0
palette_on() {
    "$source_dir/scripts/wine-run" reg query 'HKCU\Software\Korvane\Velmo\2.00' /v PaletteOn |
        tr -d '\r' | grep -q 'PaletteOn.*0x1$'
}
check "PaletteOn is 1 after Exit" palette_on
# The other scripts start without the palette window.
settings PaletteOn 0
finish palette_e2e
