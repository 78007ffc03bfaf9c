#!/usr/bin/env python3
"""Draws the item outline templates of the paper layouts as 1-bit BMP masks.

Each mask is one cell of its layout at 150 pixels per inch, in the proportions of the
layout's item size: black where the design shows through (the cake-topper shape), white
outside. Writes template_<id>.bmp into the given folder (default res/templates).

    python3 tools/assets/make_templates.py [folder]
"""
import math
import os
import struct
import sys

DPI = 150
MARGIN = 0.03  # part of each side left clear around the shape

# ---------------------------------------------------------------------------------------
# Shapes are unions of polygons and ellipses in a unit box (x right, y down), stretched to
# the item's proportions.


def ellipse(cx, cy, rx, ry, angle=0.0, n=96):
    a = math.radians(angle)
    ca, sa = math.cos(a), math.sin(a)
    pts = []
    for k in range(n):
        t = 2 * math.pi * k / n
        x, y = rx * math.cos(t), ry * math.sin(t)
        pts.append((cx + x * ca - y * sa, cy + x * sa + y * ca))
    return pts


def polar(fn, n=360, cx=0.5, cy=0.5):
    pts = []
    for k in range(n):
        t = 2 * math.pi * k / n
        r = fn(t)
        pts.append((cx + r * math.cos(t), cy + r * math.sin(t)))
    return pts


def fit(polys):
    """Scales a set of polygons to fill the unit box less the margin."""
    xs = [x for p in polys for x, _ in p]
    ys = [y for p in polys for _, y in p]
    x0, x1, y0, y1 = min(xs), max(xs), min(ys), max(ys)
    sx = (1 - 2 * MARGIN) / (x1 - x0)
    sy = (1 - 2 * MARGIN) / (y1 - y0)
    return [[(MARGIN + (x - x0) * sx, MARGIN + (y - y0) * sy) for x, y in p] for p in polys]


def heart():
    pts = []
    for k in range(400):
        t = 2 * math.pi * k / 400
        x = 16 * math.sin(t) ** 3
        y = 13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)
        pts.append((x, -y))
    return [pts]


def star(points=5, inner=0.45):
    pts = []
    for k in range(points * 2):
        r = 1.0 if k % 2 == 0 else inner
        t = -math.pi / 2 + math.pi * k / points
        pts.append((r * math.cos(t), r * math.sin(t)))
    return [pts]


def flower(petals):
    return [polar(lambda t: 0.32 + 0.18 * abs(math.cos(petals * t / 2)) ** 0.8)]


def butterfly():
    return [
        ellipse(0.30, 0.32, 0.22, 0.16, -30),
        ellipse(0.70, 0.32, 0.22, 0.16, 30),
        ellipse(0.34, 0.68, 0.15, 0.12, 35),
        ellipse(0.66, 0.68, 0.15, 0.12, -35),
        ellipse(0.50, 0.50, 0.045, 0.30),
        [(0.47, 0.22), (0.40, 0.06), (0.42, 0.05), (0.49, 0.21)],
        [(0.53, 0.22), (0.60, 0.06), (0.58, 0.05), (0.51, 0.21)],
    ]


def cloud():
    return [
        ellipse(0.25, 0.62, 0.20, 0.18),
        ellipse(0.45, 0.45, 0.24, 0.24),
        ellipse(0.68, 0.50, 0.20, 0.20),
        ellipse(0.82, 0.66, 0.14, 0.14),
        ellipse(0.52, 0.70, 0.34, 0.14),
    ]


def crown():
    return [[(0.05, 0.85), (0.05, 0.30), (0.25, 0.55), (0.38, 0.15), (0.5, 0.45),
             (0.62, 0.15), (0.75, 0.55), (0.95, 0.30), (0.95, 0.85)],
            ellipse(0.05, 0.28, 0.05, 0.05), ellipse(0.38, 0.13, 0.05, 0.05),
            ellipse(0.62, 0.13, 0.05, 0.05), ellipse(0.95, 0.28, 0.05, 0.05)]


def bell():
    # Profile of the right half, top to bottom, mirrored.
    right = []
    for k in range(60):
        y = 0.15 + 0.65 * k / 59
        w = 0.10 + 0.18 * (k / 59) ** 0.7 + 0.14 * (k / 59) ** 6
        right.append((0.5 + w, y))
    body = right + [(0.5 + 0.44, 0.84), (0.5 - 0.44, 0.84)] + [(1 - x, y) for x, y in reversed(right)]
    body = [(x, y) for x, y in body]
    return [body, ellipse(0.5, 0.13, 0.10, 0.08), ellipse(0.5, 0.88, 0.08, 0.07)]


def egg():
    pts = []
    for k in range(200):
        t = 2 * math.pi * k / 200
        y = math.sin(t)
        pts.append((math.cos(t) * (0.78 + 0.14 * y), y))
    return [pts]


def banner():
    top = [(x / 20, 0.25 - 0.12 * math.sin(math.pi * x / 20)) for x in range(21)]
    bottom = [(x / 20, 0.75 - 0.12 * math.sin(math.pi * x / 20)) for x in range(20, -1, -1)]
    return [[(-0.12, 0.32)] + top + [(1.12, 0.32), (1.0, 0.50)] +
            [(1.12, 0.68)] + bottom + [(-0.12, 0.68), (0.0, 0.50)]]


def fish():
    return [ellipse(0.42, 0.5, 0.36, 0.28),
            [(0.70, 0.5), (0.98, 0.22), (0.92, 0.5), (0.98, 0.78)],
            [(0.30, 0.26), (0.45, 0.12), (0.55, 0.26)]]


def tree():
    return [[(0.5, 0.02), (0.78, 0.30), (0.22, 0.30)],
            [(0.5, 0.18), (0.86, 0.52), (0.14, 0.52)],
            [(0.5, 0.38), (0.96, 0.80), (0.04, 0.80)],
            [(0.42, 0.80), (0.58, 0.80), (0.58, 0.98), (0.42, 0.98)]]


def teddy():
    return [ellipse(0.5, 0.56, 0.36, 0.34), ellipse(0.20, 0.22, 0.14, 0.14),
            ellipse(0.80, 0.22, 0.14, 0.14), ellipse(0.5, 0.74, 0.16, 0.12)]


def cupcake():
    return [[(0.18, 0.50), (0.82, 0.50), (0.72, 0.96), (0.28, 0.96)],
            ellipse(0.5, 0.50, 0.40, 0.26), ellipse(0.5, 0.20, 0.09, 0.09)]


def bottle():
    return [[(0.22, 0.32), (0.78, 0.32), (0.78, 0.92), (0.22, 0.92)],
            ellipse(0.5, 0.92, 0.28, 0.06),
            [(0.26, 0.24), (0.74, 0.24), (0.74, 0.33), (0.26, 0.33)],
            ellipse(0.5, 0.16, 0.14, 0.12), ellipse(0.5, 0.05, 0.05, 0.05)]


def scalloped_plaque():
    shapes = [[(0.12, 0.12), (0.88, 0.12), (0.88, 0.88), (0.12, 0.88)]]
    n = 6
    for k in range(n + 1):
        t = 0.12 + 0.76 * k / n
        r = 0.76 / n / 1.6
        shapes += [ellipse(t, 0.12, r, r, n=48), ellipse(t, 0.88, r, r, n=48),
                   ellipse(0.12, t, r, r, n=48), ellipse(0.88, t, r, r, n=48)]
    return shapes


# Template bitmap id: (shape, item width, item height in inches) of the layouts using it.
TEMPLATES = {
    955: (heart, 2.1259, 2.1259),
    842: (heart, 1.6929, 1.4173),
    844: (lambda: star(5), 1.9291, 1.7323),
    846: (bottle, 1.1417, 2.126),
    744: (scalloped_plaque, 1.4173, 1.1417),
    869: (lambda: flower(6), 2.5197, 2.5197),
    946: (butterfly, 1.4567, 1.0236),
    940: (cloud, 1.5748, 1.063),
    948: (heart, 1.2767, 1.1937),
    938: (crown, 1.9291, 1.2205),
    942: (bell, 1.5748, 1.8504),
    896: (egg, 1.4257, 1.8617),
    895: (lambda: star(5), 1.5748, 1.4173),
    886: (banner, 2.0866, 0.7874),
    882: (lambda: flower(5), 0.9843, 1.063),
    885: (fish, 1.7716, 1.0236),
    776: (tree, 0.9449, 1.3779),
    751: (teddy, 1.2992, 1.2205),
    760: (cupcake, 1.5669, 1.1181),
}

# ---------------------------------------------------------------------------------------
# Raster and file.


def spans(poly, y):
    """x positions where the polygon's edges cross the line at height y, sorted."""
    xs = []
    n = len(poly)
    for k in range(n):
        (x0, y0), (x1, y1) = poly[k], poly[(k + 1) % n]
        if (y0 <= y < y1) or (y1 <= y < y0):
            xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
    xs.sort()
    return [(xs[i], xs[i + 1]) for i in range(0, len(xs) - 1, 2)]


def rasterise(polys, width, height):
    """Rows top to bottom of booleans: inside any polygon."""
    rows = []
    for py in range(height):
        y = (py + 0.5) / height
        row = [False] * width
        for poly in polys:
            for a, b in spans(poly, y):
                first = max(0, math.ceil(a * width - 0.5))
                last = min(width - 1, math.ceil(b * width - 0.5) - 1)
                for px in range(first, last + 1):
                    row[px] = True
        rows.append(row)
    return rows


def bmp_1bit(rows):
    """A bottom-up 1-bit BMP: palette 0 black (inside), 1 white (outside)."""
    height, width = len(rows), len(rows[0])
    stride = (width + 31) // 32 * 4
    bits = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, inside in enumerate(row):
            if not inside:
                line[x >> 3] |= 0x80 >> (x & 7)
        bits += line
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 1, 0, len(bits), 5906, 5906, 2, 2)
    offset = 14 + len(info) + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
    return header + info + palette + bytes(bits)


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'res', 'templates')
    os.makedirs(out, exist_ok=True)
    for tid, (shape, w, h) in sorted(TEMPLATES.items()):
        width, height = round(w * DPI), round(h * DPI)
        rows = rasterise(fit(shape()), width, height)
        path = os.path.join(out, 'template_%d.bmp' % tid)
        with open(path, 'wb') as f:
            f.write(bmp_1bit(rows))
        print('%s %dx%d' % (path, width, height))
    return 0


if __name__ == '__main__':
    sys.exit(main())
