#!/usr/bin/env python3
"""Writes the skin library's icon font and its five state pictures.

    tools/iconfont/make-iconfont.py [resources-folder]

resources/awfont.ttf: a small TrueType font whose glyphs sit at the
private-use codes the default glyph list draws. Every outline is our own,
made of straight segments (polygons, circles as 48-gons), so the file is
written here with the standard library alone and needs no font tools.
resources/sf.png ... sc.png: five 48 x 24 RGBA pictures of our own.

The output is reproducible byte for byte: no time stamps come from the clock.
"""
import math
import os
import struct
import sys
import zlib

FAMILY = "FontAwesome"      # the family the glyph lists ask for
EM = 1000
ASCENT, DESCENT = 850, 150  # the cell: 850 above the baseline, 150 below
ADVANCE = 1000


# ---------------------------------------------------------------------------
# Outlines: lists of contours, each a list of (x, y) on-curve points. Filled
# contours run clockwise, holes anticlockwise (TrueType's non-zero rule).

def area(contour):
    return sum(x0 * y1 - x1 * y0
               for (x0, y0), (x1, y1) in zip(contour, contour[1:] + contour[:1])) / 2


def filled(contour):
    return contour if area(contour) < 0 else contour[::-1]


def hole(contour):
    return contour if area(contour) > 0 else contour[::-1]


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]


def circle(cx, cy, r, n=48):
    return [(round(cx + r * math.cos(2 * math.pi * i / n)),
             round(cy + r * math.sin(2 * math.pi * i / n))) for i in range(n)]


def frame(x0, y0, x1, y1, w):
    return [filled(rect(x0, y0, x1, y1)), hole(rect(x0 + w, y0 + w, x1 - w, y1 - w))]


def stroke(points, w):
    """A polygon around the polyline points, w wide (mitre joins)."""
    def normal(a, b):
        dx, dy = b[0] - a[0], b[1] - a[1]
        length = math.hypot(dx, dy)
        return -dy / length * w / 2, dx / length * w / 2

    left, right = [], []
    for i, p in enumerate(points):
        ns = []
        if i > 0:
            ns.append(normal(points[i - 1], p))
        if i < len(points) - 1:
            ns.append(normal(p, points[i + 1]))
        nx = sum(n[0] for n in ns) / len(ns)
        ny = sum(n[1] for n in ns) / len(ns)
        if len(ns) == 2:  # mitre: stretch the averaged normal back to w / 2
            scale = (w / 2) ** 2 / max(nx * nx + ny * ny, 1e-9)
            nx, ny = nx * scale, ny * scale
        left.append((round(p[0] + nx), round(p[1] + ny)))
        right.append((round(p[0] - nx), round(p[1] - ny)))
    return filled(left + right[::-1])


def arc_band(cx, cy, r0, r1, a0, a1, n=32):
    outer = [(round(cx + r1 * math.cos(a)), round(cy + r1 * math.sin(a)))
             for a in (a0 + (a1 - a0) * i / n for i in range(n + 1))]
    inner = [(round(cx + r0 * math.cos(a)), round(cy + r0 * math.sin(a)))
             for a in (a1 - (a1 - a0) * i / n for i in range(n + 1))]
    return filled(outer + inner)


def file_outline():
    outer = [(150, -120), (150, 820), (560, 820), (850, 530), (850, -120)]
    inner = [(230, -40), (230, 740), (500, 740), (500, 480), (770, 480), (770, -40)]
    fold = [(580, 560), (580, 720), (740, 560)]
    return [filled(outer), hole(inner), filled(fold)]


def open_folder():
    outer = [(40, -60), (40, 720), (330, 720), (400, 640), (800, 640), (800, 460),
             (960, 460), (780, -60)]
    back = [(120, 60), (120, 640), (300, 640), (370, 560), (720, 560), (720, 460), (240, 460)]
    front = [(150, 20), (260, 380), (860, 380), (740, 20)]
    return [filled(outer), hole(back), hole(front)]


def calendar_check():
    return frame(100, -100, 900, 720, 80) + [
        filled(rect(100, 500, 900, 720)),
        filled(rect(250, 680, 330, 840)), filled(rect(670, 680, 750, 840)),
        stroke([(300, 200), (450, 60), (720, 370)], 90)]


def ellipsis():
    return [filled(circle(x, 350, 95)) for x in (180, 500, 820)]


def calculator():
    contours = [filled(rect(170, -120, 830, 840)), hole(rect(250, 560, 750, 760))]
    for row in range(3):
        for col in range(3):
            x, y = 250 + col * 180, -40 + row * 200
            contours.append(hole(rect(x, y, x + 140, y + 160)))
    return contours


def dot_in_circle():
    return [filled(circle(500, 350, 420)), hole(circle(500, 350, 330)), filled(circle(500, 350, 190))]


def check_mark():
    return [stroke([(110, 380), (380, 110), (890, 620)], 180)]


def four_arrows():
    c, w, head, tip = 500, 90, 140, 470
    shaft = tip - 160
    contour = []
    # one arm pointing up, turned four times
    arm = [(-w, w), (-w, shaft), (-head, shaft), (0, tip), (head, shaft), (w, shaft), (w, w)]
    for quarter in range(4):
        cos_q, sin_q = [(1, 0), (0, -1), (-1, 0), (0, 1)][quarter]
        for x, y in arm:
            contour.append((c + x * cos_q - y * sin_q, 350 + x * sin_q + y * cos_q))
    return [filled(contour)]


def eyedropper():
    return [stroke([(140, -60), (560, 360)], 140), stroke([(520, 400), (720, 600)], 230),
            filled(circle(780, 660, 110))]


def cross():
    return [stroke([(170, 20), (830, 680)], 170), stroke([(170, 680), (830, 20)], 170)]


def plus():
    return [filled(rect(420, -50, 580, 750)), filled(rect(100, 270, 900, 430))]


def caret_up():
    return [filled([(120, 150), (500, 560), (880, 150)])]


def rotate_right():
    band = arc_band(500, 350, 300, 410, math.radians(-250), math.radians(40))
    head = [(735, 510), (980, 390), (930, 700)]
    return [band, filled(head)]


def step_backward():
    return [filled(rect(150, 0, 270, 700)), filled([(270, 350), (850, 700), (850, 0)])]


def step_forward():
    return [filled(rect(730, 0, 850, 700)), filled([(730, 350), (150, 700), (150, 0)])]


def chevron_left():
    return [stroke([(700, 760), (300, 350), (700, -60)], 170)]


def chevron_right():
    return [stroke([(300, 760), (700, 350), (300, -60)], 170)]


def minus():
    return [filled(rect(100, 270, 900, 430))]


GLYPHS = [  # (code, outline)
    (0xF00C, check_mark), (0xF00D, cross), (0xF016, file_outline), (0xF01E, rotate_right),
    (0xF047, four_arrows), (0xF048, step_backward), (0xF051, step_forward),
    (0xF053, chevron_left), (0xF054, chevron_right), (0xF067, plus), (0xF068, minus),
    (0xF0D8, caret_up), (0xF115, open_folder), (0xF141, ellipsis), (0xF192, dot_in_circle),
    (0xF1EC, calculator), (0xF1FB, eyedropper), (0xF274, calendar_check),
]


# ---------------------------------------------------------------------------
# The TrueType file.

def glyph_record(contours):
    if not contours:
        return b"", (0, 0, 0, 0), 0, 0
    points = [p for c in contours for p in c]
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    box = (min(xs), min(ys), max(xs), max(ys))
    out = struct.pack(">hhhhh", len(contours), *box)
    end = -1
    for c in contours:
        end += len(c)
        out += struct.pack(">H", end)
    out += struct.pack(">H", 0)              # no instructions
    out += bytes([0x01]) * len(points)        # on curve, 16-bit deltas
    x = y = 0
    dx, dy = b"", b""
    for px, py in points:
        dx += struct.pack(">h", px - x)
        dy += struct.pack(">h", py - y)
        x, y = px, py
    out += dx + dy
    out += b"\0" * (-len(out) % 4)
    return out, box, len(points), len(contours)


def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


def name_table():
    names = {0: "Icon glyphs drawn for the Tavelin skin library", 1: FAMILY, 2: "Regular",
             3: FAMILY + " Regular 1.0", 4: FAMILY, 5: "Version 1.0", 6: FAMILY}
    records, strings = b"", b""
    for name_id, text in sorted(names.items()):
        data = text.encode("utf-16-be")
        records += struct.pack(">HHHHHH", 3, 1, 0x409, name_id, len(data), len(strings))
        strings += data
    return struct.pack(">HHH", 0, len(names), 6 + len(records)) + records + strings


def cmap_table(codes):
    # format 4: one segment per code (glyph ids 1..n follow the sorted codes),
    # then the closing 0xFFFF segment
    segments = [(c, c, i + 1) for i, c in enumerate(codes)] + [(0xFFFF, 0xFFFF, 0)]
    n = len(segments)
    search = 2 ** int(math.log2(n))
    ends = b"".join(struct.pack(">H", e) for _, e, _ in segments)
    starts = b"".join(struct.pack(">H", s) for s, _, _ in segments)
    deltas = b"".join(struct.pack(">h", ((g - s) + 0x8000) % 0x10000 - 0x8000 if g else 1)
                      for s, _, g in segments)
    offsets = b"\0\0" * n
    body = struct.pack(">HHHH", n * 2, search * 2, int(math.log2(search)), n * 2 - search * 2)
    body += ends + b"\0\0" + starts + deltas + offsets
    sub = struct.pack(">HHH", 4, 6 + len(body), 0) + body
    return struct.pack(">HHHHI", 0, 1, 3, 1, 12) + sub


def build_font():
    codes = [code for code, _ in GLYPHS]
    assert codes == sorted(codes)
    notdef = frame(100, 0, 700, 700, 60)
    outlines = [notdef] + [make() for _, make in GLYPHS]
    records = [glyph_record(o) for o in outlines]

    glyf, loca = b"", []
    for data, _, _, _ in records:
        loca.append(len(glyf))
        glyf += data
    loca.append(len(glyf))
    boxes = [r[1] for r in records]
    x_min, y_min = min(b[0] for b in boxes), min(b[1] for b in boxes)
    x_max, y_max = max(b[2] for b in boxes), max(b[3] for b in boxes)
    glyph_count = len(outlines)

    head = struct.pack(">IIIIHHqqhhhhHHhhh", 0x00010000, 0x00010000, 0, 0x5F0F3CF5, 0x000B, EM,
                       0, 0, x_min, y_min, x_max, y_max, 0, 8, 2, 1, 0)
    hhea = struct.pack(">IhhhHhhhhhhhhhhhH", 0x00010000, ASCENT, -DESCENT, 0, ADVANCE,
                       x_min, ADVANCE - x_max, x_max, 1, 0, 0, 0, 0, 0, 0, 0, glyph_count)
    maxp = struct.pack(">IHHHHHHHHHHHHHH", 0x00010000, glyph_count,
                       max(r[2] for r in records), max(r[3] for r in records),
                       0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0)
    hmtx = b"".join(struct.pack(">Hh", ADVANCE, b[0]) for b in boxes)
    os2 = struct.pack(">HhHHHhhhhhhhhhhh10sIIII4sHHHhhhHHIIhhHHH",
                      4, ADVANCE, 400, 5, 0, 650, 600, 0, 75, 650, 600, 0, 350, 50, 300, 0,
                      bytes(10), 1, 1 << 28, 0, 0, b"TAVL", 0x0040, codes[0], codes[-1],
                      ASCENT, -DESCENT, 0, ASCENT, DESCENT, 1, 0, 500, 700, 0, 0x20, 1)
    post = struct.pack(">IIhhIIIII", 0x00030000, 0, -100, 50, 0, 0, 0, 0, 0)
    tables = {b"OS/2": os2, b"cmap": cmap_table(codes), b"glyf": glyf, b"head": head,
              b"hhea": hhea, b"hmtx": hmtx, b"loca": b"".join(struct.pack(">I", o) for o in loca),
              b"maxp": maxp, b"name": name_table(), b"post": post}

    count = len(tables)
    search = 2 ** int(math.log2(count))
    font = struct.pack(">IHHHH", 0x00010000, count, search * 16, int(math.log2(search)),
                       count * 16 - search * 16)
    offset = 12 + 16 * count
    directory, body = b"", b""
    for tag in sorted(tables):
        data = tables[tag]
        directory += struct.pack(">4sIII", tag, checksum(data), offset + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    font += directory + body
    adjustment = (0xB1B0AFBA - checksum(font)) & 0xFFFFFFFF
    head_at = font.index(b"head")
    head_offset = struct.unpack(">I", font[head_at + 8:head_at + 12])[0]
    return font[:head_offset + 8] + struct.pack(">I", adjustment) + font[head_offset + 12:]


# ---------------------------------------------------------------------------
# The five 48 x 24 pictures: two 24 x 24 cells each, a shape in the first and
# the same shape lighter in the second.

def png(width, height, pixel):
    raw = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def state_picture(colour, inside):
    def pixel(x, y):
        cell, cx = divmod(x, 24)
        if not inside(cx - 11.5, y - 11.5):
            return (0, 0, 0, 0)
        r, g, b = colour
        if cell:
            r, g, b = (c + (255 - c) // 2 for c in (r, g, b))
        return (r, g, b, 255)
    return png(48, 24, pixel)


PICTURES = {
    "sf.png": ((40, 90, 200), lambda x, y: x * x + y * y <= 81),
    "sr.png": ((200, 60, 40), lambda x, y: abs(x) <= 8 and abs(y) <= 8),
    "sd.png": ((40, 150, 60), lambda x, y: abs(x) + abs(y) <= 10),
    "se.png": ((120, 120, 120), lambda x, y: abs(y) <= 3 and abs(x) <= 9),
    "sc.png": ((150, 60, 170), lambda x, y: abs(abs(x) - abs(y)) <= 2 and abs(x) <= 8),
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "resources")
    with open(os.path.join(out, "awfont.ttf"), "wb") as f:
        f.write(build_font())
    for name, (colour, inside) in PICTURES.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(state_picture(colour, inside))


if __name__ == "__main__":
    main()
