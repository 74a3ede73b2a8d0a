#!/usr/bin/env python3
"""Draws the hint pictures from the description below and writes
  resources/achint.png                    the default hint picture (27 x 27, RGBA)
  tests/fixtures/skin/hints/corners.hint  a hint template with four corner pictures
  tests/fixtures/skin/hints/single.hint   a hint template with the default picture only
The templates are in the hint template stream format ("AShh", version "1",
pictures as PNG bytes). Run from the repository root; the files are committed.

A picture is a rounded body on a soft shadow. The body leaves the shadow
margins free (left 6, top 5, right 7, bottom 8), so the nine-part slicing of
the default template (borders left 11, top 10, right 14, bottom 15) puts the
whole rounded corner and its shadow into each corner part and leaves a
2 x 2 centre of plain body colour. The test templates give each corner
picture its own body colour, so a test can tell which one is shown."""
import math, struct, zlib

SIZE = 27
SHADOW = dict(left=6, top=5, right=7, bottom=8)
BORDERS = dict(left=11, top=10, right=14, bottom=15)
MARGINS = dict(left=11, top=8, right=16, bottom=15)
RADIUS = 3
FRAME = (118, 118, 118)
# The shadow lies under the body moved right 1 and down 2, and fades out
# over 6 pixels from its edge, starting at alpha 70.
SHADOW_OFFSET = (1, 2)
SHADOW_ALPHA, SHADOW_REACH = 70, 6.0

DEFAULT_BODY = (255, 255, 225)
CORNER_BODIES = {            # test template: one colour per pointer corner
    'default': (240, 64, 64),
    'right_top': (64, 200, 64),
    'right_bottom': (64, 64, 240),
    'left_bottom': (240, 200, 40),
}

def body_rect():
    return (SHADOW['left'], SHADOW['top'], SIZE - SHADOW['right'] - 1, SIZE - SHADOW['bottom'] - 1)

def inside_rounded(x, y, r):
    l, t, rt, b = r
    if x < l or x > rt or y < t or y > b:
        return False
    cx = min(max(x, l + RADIUS), rt - RADIUS)
    cy = min(max(y, t + RADIUS), b - RADIUS)
    return (x - cx) ** 2 + (y - cy) ** 2 <= RADIUS ** 2 + 0.5

def on_frame(x, y, r):
    return inside_rounded(x, y, r) and not all(
        inside_rounded(x + dx, y + dy, r) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))

def distance_to(x, y, r):
    l, t, rt, b = r
    dx = max(l - x, 0, x - rt)
    dy = max(t - y, 0, y - b)
    return math.hypot(dx, dy)

def picture(body):
    r = body_rect()
    s = (r[0] + SHADOW_OFFSET[0], r[1] + SHADOW_OFFSET[1], r[2] + SHADOW_OFFSET[0], r[3] + SHADOW_OFFSET[1])
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            if on_frame(x, y, r):
                row.append(FRAME + (255,))
            elif inside_rounded(x, y, r):
                row.append(body + (255,))
            else:
                a = int(SHADOW_ALPHA * max(0.0, 1.0 - distance_to(x, y, s) / SHADOW_REACH))
                row.append((0, 0, 0, a))
        rows.append(row)
    return rows

def png(rows):
    raw = b''.join(b'\0' + bytes(c for px in row for c in px) for row in rows)
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    ihdr = struct.pack('>IIBBBBB', SIZE, SIZE, 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')

def sizes(d):
    return struct.pack('<4i', d['top'], d['left'], d['right'], d['bottom'])

def record(picture_bytes):
    modes = bytes((1, 1, 1, 1, 1))  # Top, Left, Right, Bottom, Center: stretch
    return (modes + sizes(BORDERS) + sizes(MARGINS) + sizes(SHADOW) + b'1' +
            struct.pack('<i', len(picture_bytes)) + picture_bytes)

def template(pictures, font_name='Tahoma', colour=0x000080, size=9, style=1):
    name = font_name.encode('ascii')
    head = b'AShh' + b'1' + struct.pack('<iiB', colour, size, style) + struct.pack('<i', len(name)) + name
    return head + b''.join(record(p) for p in pictures)

def main():
    with open('resources/achint.png', 'wb') as f:
        f.write(png(picture(DEFAULT_BODY)))
    corners = [png(picture(CORNER_BODIES[k])) for k in ('default', 'right_top', 'right_bottom', 'left_bottom')]
    with open('tests/fixtures/skin/hints/corners.hint', 'wb') as f:
        f.write(template(corners))
    with open('tests/fixtures/skin/hints/single.hint', 'wb') as f:
        f.write(template(corners[:1], font_name='Tahoma', colour=0, size=10, style=0))

if __name__ == '__main__':
    main()
