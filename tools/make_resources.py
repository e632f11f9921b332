#!/usr/bin/env python3
"""Builds the program's bitmaps, icon and cursors from their text-art sources.

make_resources.py ART_DIR OUT_DIR

Every ART_DIR/*.txt file is one picture. Its first line says what it is:
    bitmap WIDTH HEIGHT          16-colour BMP (tool buttons, frames, toolbar)
    strip WIDTH HEIGHT COUNT     a bitmap made of COUNT pictures side by side,
                                 given one below the other in the file
    icon SIZE [SIZE ...]         .ico with one 16-colour image per size,
                                 given one below the other
    cursor HOTX HOTY             32 x 32 monochrome .cur
    pens                         the 1-bit pen strip (see pens.txt)
Lines starting with ';' are comments. Pixel rows follow, one character per
pixel, in the colours below. '.' is the button face in bitmaps and
transparent in icons and cursors; 'x' inverts the screen in cursors.
"""
import os
import struct
import sys

PALETTE = [  # the sixteen standard colours, in VGA order
    ('K', (0, 0, 0)), ('r', (128, 0, 0)), ('g', (0, 128, 0)), ('y', (128, 128, 0)),
    ('b', (0, 0, 128)), ('m', (128, 0, 128)), ('c', (0, 128, 128)), ('S', (192, 192, 192)),
    ('D', (128, 128, 128)), ('R', (255, 0, 0)), ('G', (0, 255, 0)), ('Y', (255, 255, 0)),
    ('B', (0, 0, 255)), ('M', (255, 0, 255)), ('C', (0, 255, 255)), ('W', (255, 255, 255)),
]
INDEX = {ch: i for i, (ch, _) in enumerate(PALETTE)}
FACE = INDEX['S']


class ArtError(Exception):
    pass


def read_art(path):
    with open(path, encoding='utf-8') as f:
        lines = [l.rstrip('\n') for l in f if not l.startswith(';')]
    lines = [l for l in lines if l.strip()]
    return lines[0].split(), lines[1:]


def rows_of(rows, width, height, path, first=0):
    block = rows[first:first + height]
    if len(block) != height:
        raise ArtError(f'{path}: expected {height} rows from row {first}, got {len(block)}')
    for i, r in enumerate(block):
        if len(r) != width:
            raise ArtError(f'{path}: row {first + i} is {len(r)} wide, expected {width}')
    return block


def colour_index(ch, path, transparent_ok):
    if ch == '.':
        return None if transparent_ok else FACE
    if ch not in INDEX:
        raise ArtError(f'{path}: unknown colour {ch!r}')
    return INDEX[ch]


def palette_bytes():
    return b''.join(bytes((b, g, r, 0)) for _, (r, g, b) in PALETTE)


def pack4(indexes):
    out = bytearray()
    for i in range(0, len(indexes), 2):
        hi = indexes[i]
        lo = indexes[i + 1] if i + 1 < len(indexes) else 0
        out.append((hi << 4) | lo)
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def pack1(bits):
    out = bytearray()
    for i in range(0, len(bits), 8):
        byte = 0
        for j, bit in enumerate(bits[i:i + 8]):
            byte |= bit << (7 - j)
        out.append(byte)
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def info_header(width, height, bits, colours, image_bytes):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, image_bytes, 0, 0,
                       colours, 0)


def bmp_file(dib):
    return struct.pack('<2sIHHI', b'BM', 14 + len(dib), 0, 0, 14 + 40 + dib_palette_size(dib)) + dib


def dib_palette_size(dib):
    bits = struct.unpack_from('<H', dib, 14)[0]
    colours = struct.unpack_from('<I', dib, 32)[0] or (1 << bits)
    return 4 * colours


def dib4(grid):
    height, width = len(grid), len(grid[0])
    data = b''.join(pack4(row) for row in reversed(grid))
    return info_header(width, height, 4, 16, len(data)) + palette_bytes() + data


def grid_of(rows, path, transparent_ok=False):
    return [[colour_index(ch, path, transparent_ok) for ch in row] for row in rows]


def make_bitmap(words, rows, path):
    width, height = int(words[1]), int(words[2])
    return bmp_file(dib4(grid_of(rows_of(rows, width, height, path), path)))


def make_strip(words, rows, path):
    width, height, count = int(words[1]), int(words[2]), int(words[3])
    cell = width // count
    if cell * count != width:
        raise ArtError(f'{path}: {count} pictures do not divide width {width}')
    grid = [[] for _ in range(height)]
    for k in range(count):
        part = grid_of(rows_of(rows, cell, height, path, k * height), path)
        for y in range(height):
            grid[y].extend(part[y])
    return bmp_file(dib4(grid))


def icon_image(grid):
    size = len(grid)
    colours = [[0 if c is None else c for c in row] for row in grid]
    xor = b''.join(pack4(row) for row in reversed(colours))
    mask = b''.join(pack1([1 if c is None else 0 for c in row]) for row in reversed(grid))
    header = info_header(size, size * 2, 4, 16, len(xor) + len(mask))
    return header + palette_bytes() + xor + mask


def make_icon(words, rows, path):
    sizes = [int(w) for w in words[1:]]
    images, first = [], 0
    for s in sizes:
        images.append(icon_image(grid_of(rows_of(rows, s, s, path, first), path, True)))
        first += s
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
    return out + b''.join(images)


def make_cursor(words, rows, path):
    hot_x, hot_y = int(words[1]), int(words[2])
    block = rows_of(rows, 32, 32, path)
    and_bits, xor_bits = [], []
    for row in block:
        a, x = [], []
        for ch in row:
            # AND 1 keeps the screen; XOR then sets white or inverts.
            pair = {'K': (0, 0), 'W': (0, 1), '.': (1, 0), 'x': (1, 1)}.get(ch)
            if pair is None:
                raise ArtError(f'{path}: unknown cursor colour {ch!r}')
            a.append(pair[0])
            x.append(pair[1])
        and_bits.append(a)
        xor_bits.append(x)
    xor = b''.join(pack1(r) for r in reversed(xor_bits))
    mask = b''.join(pack1(r) for r in reversed(and_bits))
    mono = b'\0\0\0\0' + b'\xff\xff\xff\0'
    img = info_header(32, 64, 1, 2, len(xor) + len(mask)) + mono + xor + mask
    return (struct.pack('<HHH', 0, 2, 1) +
            struct.pack('<BBBBHHII', 32, 32, 0, 0, hot_x, hot_y, len(img), 22) + img)


def make_pens(words, rows, path):
    # Sixteen 32 x 32 pens, four across (one space apart) and four down in
    # the file: '#' is the pen's shape (black, index 0), '.' the background
    # (white, index 1).
    grid = [[] for _ in range(32)]
    for k in range(16):
        top, left = (k // 4) * 32, (k % 4) * 33
        for y in range(32):
            if top + y >= len(rows):
                raise ArtError(f'{path}: pen {k} is cut short')
            row = rows[top + y][left:left + 32]
            if len(row) != 32 or any(ch not in '#.' for ch in row):
                raise ArtError(f'{path}: pen {k} row {y} is not 32 of "#."')
            grid[y].extend(0 if ch == '#' else 1 for ch in row)
    data = b''.join(pack1(r) for r in reversed(grid))
    mono = b'\0\0\0\0' + b'\xff\xff\xff\0'
    return bmp_file(info_header(512, 32, 1, 2, len(data)) + mono + data)


MAKERS = {'bitmap': ('.bmp', make_bitmap), 'strip': ('.bmp', make_strip),
          'icon': ('.ico', make_icon), 'cursor': ('.cur', make_cursor),
          'pens': ('.bmp', make_pens)}


def main():
    art_dir, out_dir = sys.argv[1], sys.argv[2]
    os.makedirs(out_dir, exist_ok=True)
    for name in sorted(os.listdir(art_dir)):
        if not name.endswith('.txt'):
            continue
        path = os.path.join(art_dir, name)
        words, rows = read_art(path)
        ext, maker = MAKERS[words[0]]
        data = maker(words, rows, path)
        target = os.path.join(out_dir, name[:-4] + ext)
        with open(target + '.tmp', 'wb') as f:
            f.write(data)
        os.replace(target + '.tmp', target)


if __name__ == '__main__':
    try:
        main()
    except ArtError as e:
        sys.exit(f'make_resources: {e}')
