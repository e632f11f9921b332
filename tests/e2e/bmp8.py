"""8-bit BMP files for the end-to-end scripts: writing a test picture and
reading its pixels back (width and stride taken from the file, either row
order)."""
import struct

GREY = [(i, i, i) for i in range(256)]


def write(path, rows, palette=GREY):
    """Writes rows (top row first, one index a pixel; widths a multiple of
    four) with the palette's (r, g, b) entries."""
    height, width = len(rows), len(rows[0])
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    bits = b''.join(bytes(r) for r in reversed(rows))
    offset = 14 + 40 + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(bits), 0, 0,
                       len(palette), 0)
    open(path, 'wb').write(header + info + table + bits)


def pixels(path):
    """Prints the pixels, one line of numbers a row, top row first."""
    data = open(path, 'rb').read()
    offset, = struct.unpack_from('<I', data, 10)
    width, height, _, bpp = struct.unpack_from('<iiHH', data, 18)
    stride = (width * bpp // 8 + 3) & ~3
    for y in range(abs(height)):
        row = y if height < 0 else height - 1 - y
        start = offset + row * stride
        print(' '.join(str(b) for b in data[start:start + width]))
