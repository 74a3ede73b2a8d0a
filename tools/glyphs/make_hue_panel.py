#!/usr/bin/env python3
"""Draws the hue panel's 128 x 128 picture as a 24-bit BMP into
resources/hue-panel.bmp. Hue runs once round the colour circle from red
at the left edge to red at the right edge; lightness runs from white in the
top row through the fully saturated hues in rows 63 and 64 to black in the
bottom row. Run from the repository root; the file is committed."""
import colorsys, struct

SIZE = 128

def lightness(y):
    if y <= 63:
        return 1.0 - 0.5 * y / 63
    return 0.5 - 0.5 * (y - 64) / 63

def pixel(x, y):
    r, g, b = colorsys.hls_to_rgb(x / (SIZE - 1), lightness(y), 1.0)
    return tuple(int(round(c * 255)) for c in (r, g, b))

def main():
    row = SIZE * 3
    data = bytearray()
    for y in range(SIZE - 1, -1, -1):
        for x in range(SIZE):
            r, g, b = pixel(x, y)
            data += bytes((b, g, r))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open('resources/hue-panel.bmp', 'wb') as f:
        f.write(header + info + data)

if __name__ == '__main__':
    main()
