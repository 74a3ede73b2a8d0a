#!/usr/bin/env python3
"""Draws the data grid's nine filter-type icons (the filter-edit row and its
type menu) as 16 x 16 32-bit icon files into resources/: starts with, ends
with, contains, does not contain, equal, not equal, larger than, smaller
than, clear. Run from the repository root; the files are committed."""
import struct

INK = (40, 70, 150, 255)
RED = (200, 30, 30, 255)
NONE = (0, 0, 0, 0)

def blank():
    return [[NONE] * 16 for _ in range(16)]

def rect(p, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            p[y][x] = c

def line(p, x0, y0, x1, y1, c, width=2):
    steps = max(abs(x1 - x0), abs(y1 - y0))
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i // steps
        y = y0 + (y1 - y0) * i // steps
        rect(p, x, y, min(15, x + width - 1), min(15, y + width - 1), c)

def dots(p, x0, count):
    for i in range(count):
        rect(p, x0 + 3 * i, 11, x0 + 3 * i + 1, 12, INK)

def starts_with(p):
    rect(p, 1, 2, 3, 13, INK); dots(p, 6, 3)

def ends_with(p):
    dots(p, 1, 3); rect(p, 12, 2, 14, 13, INK)

def contains(p):
    dots(p, 0, 2); rect(p, 7, 2, 9, 13, INK); rect(p, 12, 11, 13, 12, INK); rect(p, 15, 11, 15, 12, INK)

def not_contains(p):
    contains(p); line(p, 2, 14, 13, 1, RED)

def equal(p):
    rect(p, 2, 4, 13, 6, INK); rect(p, 2, 9, 13, 11, INK)

def not_equal(p):
    equal(p); line(p, 4, 14, 11, 1, RED)

def larger(p):
    line(p, 3, 2, 11, 7, INK); line(p, 11, 7, 3, 12, INK)

def smaller(p):
    line(p, 12, 2, 4, 7, INK); line(p, 4, 7, 12, 12, INK)

def clear(p):
    line(p, 2, 2, 12, 12, RED, 3); line(p, 12, 2, 2, 12, RED, 3)

def ico(path, p):
    xor = bytearray()
    for y in range(15, -1, -1):
        for (r, g, b, a) in p[y]:
            xor += bytes((b, g, r, a))
    mask = bytearray()
    for y in range(15, -1, -1):
        bits = 0
        for x in range(16):
            if p[y][x][3] == 0:
                bits |= 0x8000 >> x
        mask += struct.pack('>H', bits) + b'\0\0'
    info = struct.pack('<IiiHHIIiiII', 40, 16, 32, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    header = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', 16, 16, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(header + entry + image)

ICONS = [('PACKGRDSTARTSWITH', starts_with), ('PACKGRDENDSWITH', ends_with), ('PACKGRDCONTAINS', contains),
         ('PACKGRDNOTCONTAINS', not_contains), ('PACKGRDEQUAL', equal), ('PACKGRDNOTEQUAL', not_equal),
         ('PACKGRDLARGER', larger), ('PACKGRDSMALLER', smaller), ('PACKGRDCLEAR', clear)]

for name, draw in ICONS:
    p = blank()
    draw(p)
    ico('resources/%s.ico' % name.lower(), p)
