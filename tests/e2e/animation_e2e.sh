#!/usr/bin/env bash
# The animation view as a user opens it: a 32 x 32 GIF of three frames (red,
# green, blue, half a second each) opens as three layers; Window, Animation
# View shows them in turn, caught in three distinct screenshots of the view.
# Exit while it plays ends the program with code 0.
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
picture=$work/three.gif

# Three frames of one colour each, indexes 0, 1, 2, delay 50 hundredths.
/usr/bin/python3 - "$picture" <<'PY'
import struct, sys
side, colours = 32, [(255, 0, 0), (0, 255, 0), (0, 0, 255)]

def lzw(pixels, code_size=8):
    # Literal codes only, a clear code every 200 pixels, so that the code
    # width stays code_size + 1.
    clear, width = 1 << code_size, code_size + 1
    codes = []
    for i, p in enumerate(pixels):
        if i % 200 == 0:
            codes.append(clear)
        codes.append(p)
    codes.append(clear + 1)
    packed, acc, n = bytearray(), 0, 0
    for c in codes:
        acc |= c << n
        n += width
        while n >= 8:
            packed.append(acc & 255)
            acc >>= 8
            n -= 8
    if n:
        packed.append(acc)
    blocks = b''.join(bytes([len(packed[i:i + 255])]) + packed[i:i + 255]
                      for i in range(0, len(packed), 255))
    return bytes([code_size]) + blocks + b'\0'

table = b''.join(bytes(c) for c in colours) + b'\0' * 3 * (256 - len(colours))
gif = b'GIF89a' + struct.pack('<HHBBB', side, side, 0xF7, 0, 0) + table
gif += b'\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00'
for index in range(len(colours)):
    gif += b'\x21\xf9\x04' + struct.pack('<BHBB', 0x04, 50, 0, 0)
    gif += b'\x2c' + struct.pack('<HHHHB', 0, 0, side, side, 0)
    gif += lzw([index] * side * side)
open(sys.argv[1], 'wb').write(gif + b'\x3b')
PY

# view_colour ID: the red, green and blue of a pixel in the lower middle of
# the window's client area (the caption is at its top).
view_colour() {
    import -window "$1" -depth 8 ppm:- 2>/dev/null | /usr/bin/python3 -c '
import sys
data = sys.stdin.buffer.read()
fields, at = [], 0
while len(fields) < 4:
    while data[at:at + 1].isspace(): at += 1
    end = at
    while not data[end:end + 1].isspace(): end += 1
    fields.append(data[at:end]); at = end
width, height = int(fields[1]), int(fields[2])
at += 1
x, y = width // 2, height - 12
print(*data[at + 3 * (y * width + x):at + 3 * (y * width + x) + 3])'
}

start_velmo "$(windows_path "$picture")"
frame=$(wait_window '^Velmo')
probe_line canvas >/dev/null

xdotool windowfocus --sync "$frame"
xdotool key --clearmodifiers alt+w
sleep 0.3
xdotool key n
view=$(wait_window '^Animation$')

declare -A seen
for _ in $(seq 40); do
    colour=$(view_colour "$view")
    if [ -n "$colour" ] && [ -z "${seen[$colour]:-}" ]; then
        seen[$colour]=1
        screenshot "animation_frame_${#seen[@]}"
    fi
    [ ${#seen[@]} -ge 3 ] && break
    sleep 0.15
done
echo "colours seen: $(printf '(%s) ' "${!seen[@]}")"
check "three distinct frames are shown" test ${#seen[@]} = 3
check "the first frame is red" test -n "${seen[255 0 0]:-}"
check "the second frame is green" test -n "${seen[0 255 0]:-}"
check "the third frame is blue" test -n "${seen[0 0 255]:-}"

close_window "$frame"
wait_exit
check "Exit while the view plays ends with code 0" test "$VELMO_RC" = 0
finish animation_e2e
