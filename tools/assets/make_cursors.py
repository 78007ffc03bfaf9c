#!/usr/bin/env python3
"""Draws the tracker's cursors (32 x 32, black on a white outline, the rest transparent)
into .cur files of the given folder (default res/cursors).

    python3 tools/assets/make_cursors.py [folder]
"""
import math, os, struct, sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, 'res', 'cursors')
os.makedirs(OUT, exist_ok=True)

def cursor(name, hot, pixels):
    # pixels: dict (x, y) -> 'b' black or 'w' white; everything else transparent.
    xor_rows, and_rows = [], []
    for y in range(31, -1, -1):  # bottom-up rows
        xr = ar = 0
        for x in range(32):
            p = pixels.get((x, y))
            bit = 1 << (31 - x)
            if p is None:
                ar |= bit
            elif p == 'w':
                xr |= bit
        xor_rows.append(struct.pack('>I', xr))
        and_rows.append(struct.pack('>I', ar))
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    image = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    entry = struct.pack('<BBBBHHII', 32, 32, 0, 0, hot[0], hot[1], len(image), 22)
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(struct.pack('<HHH', 0, 2, 1) + entry + image)

def outlined(points):
    px = {}
    for (x, y) in points:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if 0 <= x + dx < 32 and 0 <= y + dy < 32:
                    px.setdefault((x + dx, y + dy), 'w')
    for p in points:
        px[p] = 'b'
    return px

def line(a, b):
    n = max(abs(b[0] - a[0]), abs(b[1] - a[1]), 1)
    return [(round(a[0] + (b[0] - a[0]) * i / n), round(a[1] + (b[1] - a[1]) * i / n)) for i in range(n + 1)]

def arrow(a, b):
    pts = line(a, b)
    dx, dy = b[0] - a[0], b[1] - a[1]
    ln = math.hypot(dx, dy)
    ux, uy = dx / ln, dy / ln
    for end, s in ((b, 1), (a, -1)):
        for side in (1, -1):
            tip = (round(end[0] - s * 4 * ux + side * 3 * uy), round(end[1] - s * 4 * uy - side * 3 * ux))
            pts += line(end, tip)
    return pts

def circle(c, r):
    return [(round(c[0] + r * math.cos(t / 40 * 2 * math.pi)), round(c[1] + r * math.sin(t / 40 * 2 * math.pi))) for t in range(40)]

# 138 pivot: a ring with a cross.
cursor('pivot.cur', (15, 15), outlined(circle((15, 15), 6) + line((15, 5), (15, 25)) + line((5, 15), (25, 15))))
# 130 move with Ctrl: four-way arrows and a small plus.
cursor('movectrl.cur', (15, 15), outlined(arrow((15, 4), (15, 26)) + arrow((4, 15), (26, 15)) + line((24, 2), (24, 8)) + line((21, 5), (27, 5))))
# 137 rotate: three quarters of a ring with an arrow head.
arc = [(round(15 + 9 * math.cos(t / 40 * 2 * math.pi)), round(15 + 9 * math.sin(t / 40 * 2 * math.pi))) for t in range(30)]
cursor('rotate.cur', (15, 15), outlined(arc + line((15, 6), (19, 2)) + line((15, 6), (19, 10))))
# 132 / 133 shear along a horizontal / vertical edge.
cursor('shearh.cur', (15, 15), outlined(arrow((4, 12), (26, 12)) + line((4, 19), (26, 19))))
cursor('shearv.cur', (15, 15), outlined(arrow((12, 4), (12, 26)) + line((19, 4), (19, 26))))

# The hand over links and skinned controls: a hand pointing up, the tip of its finger the
# hot spot ('X' black outline, '.' white inside, blanks transparent).
HAND = [
    '     XX         ',
    '    X..X        ',
    '    X..X        ',
    '    X..X        ',
    '    X..X        ',
    '    X..XXX      ',
    '    X..X..XXX   ',
    '    X..X..X..XX ',
    ' XX X..X..X..X.X',
    'X..XX........X.X',
    'X...X..........X',
    ' X.............X',
    '  X............X',
    '  X...........X ',
    '   X..........X ',
    '   X.........X  ',
    '    X........X  ',
    '    X........X  ',
    '    XXXXXXXXXX  ',
]
hand = {}
for y, row in enumerate(HAND):
    for x, c in enumerate(row):
        if c == 'X':
            hand[(x + 8, y + 6)] = 'b'
        elif c == '.':
            hand[(x + 8, y + 6)] = 'w'
cursor('hand.cur', (14, 6), hand)
