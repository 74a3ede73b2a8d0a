#!/usr/bin/env python3
"""Draws the data grid's glyph bitmaps (check boxes, radio buttons, node,
filter, metro and search bar glyphs) as 24-bit BMP files into resources/. The corner
pixels carry the key colour that transparent drawing takes from the
bottom-left pixel. Run from the repository root; the files are committed."""
import struct, sys, os

KEY = (255, 0, 255)

def bmp(path, pixels):
    h = len(pixels); w = len(pixels[0])
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for (r, g, b) in pixels[y]:
            line += bytes((b, g, r))
        line += b'\0' * (row - w * 3)
        data += line
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)

def canvas(w, h, c=KEY):
    return [[c] * w for _ in range(h)]

def box(p, border, fill, top=None):
    n = len(p)
    for y in range(n):
        for x in range(n):
            edge = x in (0, n - 1) or y in (0, n - 1)
            p[y][x] = border if edge else (top if top and y < n // 2 else fill)
    for (x, y) in ((0, 0), (n - 1, 0), (0, n - 1), (n - 1, n - 1)):
        p[y][x] = KEY

def tick(p, c):
    pts = [(3, 7), (4, 8), (5, 9), (6, 8), (7, 7), (8, 6), (9, 5), (10, 4), (11, 3)]
    for (x, y) in pts:
        for d in range(3):
            p[y + d - 1][x] = c

def circle(p, border, fill, dot=None):
    n = len(p); c = (n - 1) / 2
    for y in range(n):
        for x in range(n):
            d = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
            if d <= c - 0.6:
                p[y][x] = fill
            if c - 1.6 < d <= c + 0.2:
                p[y][x] = border
            if dot and d <= 2.6:
                p[y][x] = dot

def check_set(prefix, first, border, fill, top, tick_c, dborder, dfill, dtick):
    # checked enabled, unchecked enabled, checked disabled, unchecked disabled
    looks = [(border, fill, top, tick_c), (border, fill, top, None),
             (dborder, dfill, None, dtick), (dborder, dfill, None, None)]
    for i, (b, f, t, k) in enumerate(looks):
        p = canvas(15, 15)
        box(p, b, f, t)
        if k:
            tick(p, k)
        bmp(f'{prefix}{first + i:02d}.bmp', p)

def radio_set(prefix, first, border, fill, dot, dborder, dfill, ddot):
    looks = [(border, fill, dot), (border, fill, None), (dborder, dfill, ddot), (dborder, dfill, None)]
    for i, (b, f, d) in enumerate(looks):
        p = canvas(16, 16)
        circle(p, b, f, d)
        bmp(f'{prefix}{first + i:02d}.bmp', p)

def node(path, size, border, fill, plus):
    p = canvas(size, size)
    box(p, border, fill)
    m = size // 2
    for x in range(2, size - 2):
        p[m][x] = (0, 0, 0)
    if plus:
        for y in range(2, size - 2):
            p[y][m] = (0, 0, 0)
    bmp(path, p)

def arrow(path, colour, down):
    # A 12 x 12 triangle pointing down (find next) or up (find previous).
    p = canvas(12, 12)
    for i in range(5):
        y = 3 + i if down else 8 - i
        for x in range(1 + i, 11 - i):
            p[y][x] = colour
    bmp(path, p)

def cross(path, colour):
    # The close glyph: a 10 x 10 cross two pixels wide.
    p = canvas(10, 10)
    for i in range(1, 9):
        for d in (0, 1):
            if i + d < 10:
                p[i][i + d] = colour
                p[i][9 - i - d] = colour
    bmp(path, p)

def marker(path, pen, ink):
    # The highlight glyph: a marker stroke over a line of text.
    p = canvas(16, 16)
    for y in range(4, 11):
        for x in range(2, 14):
            p[y][x] = ink
    for x in range(3, 13):
        p[7][x] = pen
    bmp(path, p)

def search_glyphs():
    blue, grey = (33, 86, 160), (160, 160, 160)
    arrow('ASGARDOWN.bmp', blue, True)
    arrow('ASGARDOWND.bmp', grey, True)
    arrow('ASGARUP.bmp', blue, False)
    arrow('ASGARUPD.bmp', grey, False)
    cross('ASGCLOSE.bmp', (64, 64, 64))
    cross('ASGCLOSEH.bmp', (200, 32, 32))
    cross('ASGCLOSED.bmp', (128, 16, 16))
    marker('ASGHI.bmp', (0, 0, 0), (255, 240, 64))
    marker('ASGHID.bmp', grey, (224, 224, 224))

def main(out):
    os.chdir(out)
    grey, light = (160, 160, 160), (236, 236, 236)
    # Bitmap family "pack": square, white, black tick.
    check_set('ASGCHK', 1, (96, 96, 96), (255, 255, 255), None, (0, 0, 0), grey, light, grey)
    # Bitmap family "XP": blue frame, soft fill, green tick.
    check_set('ASGCHK', 5, (28, 81, 128), (244, 244, 240), (252, 252, 250), (33, 161, 33),
              (202, 200, 187), (245, 244, 234), (202, 200, 187))
    radio_set('ASGRAD', 1, (96, 96, 96), (255, 255, 255), (0, 0, 0), grey, light, grey)
    radio_set('ASGRAD', 5, (28, 81, 128), (244, 244, 240), (33, 161, 33), (202, 200, 187), (245, 244, 234),
              (202, 200, 187))
    node('ASGLEAFOPEN.bmp', 11, (128, 128, 128), (255, 255, 255), True)
    node('ASGLEAFCLOSE.bmp', 11, (128, 128, 128), (255, 255, 255), False)
    node('XPNODEO.bmp', 9, (120, 152, 181), (247, 247, 245), True)
    node('XPNODEC.bmp', 9, (120, 152, 181), (247, 247, 245), False)
    # The header's filter button: a funnel.
    p = canvas(16, 16)
    for y in range(4, 13):
        half = max(1, 6 - (y - 4)) if y < 9 else 1
        for x in range(8 - half, 8 + half):
            p[y][x] = (64, 64, 64)
    bmp('ASGFILT.bmp', p)
    # The flat glyphs of the colour-tone appearance.
    for name, on in (('metrocheckon', True), ('metrocheckoff', False)):
        p = canvas(15, 15)
        box(p, (110, 110, 110), (255, 255, 255))
        if on:
            tick(p, (40, 40, 40))
        bmp(name + '.bmp', p)
    for name, on in (('metroradioon', True), ('metroradiooff', False)):
        p = canvas(16, 16)
        circle(p, (110, 110, 110), (255, 255, 255), (40, 40, 40) if on else None)
        bmp(name + '.bmp', p)
    search_glyphs()

if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources')
