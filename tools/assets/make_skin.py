#!/usr/bin/env python3
"""Draws one skin bitmap of the program as a 24-bit BMP without palette.

    make_skin.py <out.bmp> <WxH> <#RRGGBB or ""> part=<part> [key=value ...]

The size and the background come from the picture's row in res/assets.csv; the words after
them are the row's params. GDI+ drops the alpha of a bitmap handle, so every picture carries
the colour it is shown on (the background) where it means "nothing". Parts:

    part=button icon=<name>   a rounded tile with a white pictogram (see ICONS)
    part=knob [face=linear]   a round knob with its pointer at the top; face=linear shades
                              the face from left to right (the linear fill button)
    part=marker               a small arrow marking the chosen button
    part=help                 the help tooltips' question mark
    part=glyph                the TrueType mark of the font list: one 10-pixel image, the
                              remaining columns plain background
    part=scroll piece=arrow dir=left|right|up|down
    part=scroll piece=channel
    part=scroll piece=thumb [body=marked]
                              a bar is horizontal when the picture is wider than high. The
                              thumb's ends hold the marker RGB(0, 0, 3) (first end) and
                              RGB(0, 0, 4) (last end), its grip RGB(0, 0, 2), and with
                              body=marked its body RGB(0, 0, 1): the scroll bar puts its own
                              colours there.

A later resource adds its row with these params; nothing else is needed.
"""
import math
import struct
import sys

SS = 4  # samples per pixel side for the edges of shapes


class Problem(Exception):
    pass


# ---------------------------------------------------------------------------------------
# A canvas of float RGB pixels and shapes given as inside-tests in pixel coordinates.

class Canvas:
    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.px = [[tuple(float(c) for c in colour) for _ in range(w)] for _ in range(h)]

    def cover(self, inside, colour, alpha=1.0):
        """Blends colour over every pixel by the share of its samples inside the shape."""
        for y in range(self.h):
            for x in range(self.w):
                n = 0
                for j in range(SS):
                    for i in range(SS):
                        if inside(x + (i + 0.5) / SS, y + (j + 0.5) / SS):
                            n += 1
                if n:
                    a = alpha * n / (SS * SS)
                    col = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                    old = self.px[y][x]
                    self.px[y][x] = tuple(o + (c - o) * a for o, c in zip(old, col))

    def set(self, x, y, colour):
        self.px[y][x] = tuple(float(c) for c in colour)

    def get(self, x, y):
        return self.px[y][x]

    def bmp(self):
        row_bytes = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):  # bottom-up rows
            row = bytearray()
            for x in range(self.w):
                r, g, b = (max(0, min(255, int(round(c)))) for c in self.px[y][x])
                row += bytes((b, g, r))
            row += b'\0' * (row_bytes - len(row))
            data += row
        info = struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 54) + info + bytes(data)


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def ring(cx, cy, r, width):
    return lambda x, y: (r - width / 2) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= (r + width / 2) ** 2


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def frame(x0, y0, x1, y1, width):
    outer, inner = rect(x0, y0, x1, y1), rect(x0 + width, y0 + width, x1 - width, y1 - width)
    return lambda x, y: outer(x, y) and not inner(x, y)


def segment(ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                hit = not hit
        return hit
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


# ---------------------------------------------------------------------------------------
# Pictograms in a unit box (0..1, y down), drawn white on the button tiles.

def arrow_head(tip, back, half):
    """A filled arrow head with its point at tip, its base centred at back."""
    (tx, ty), (bx, by) = tip, back
    dx, dy = tx - bx, ty - by
    n = math.hypot(dx, dy) or 1.0
    px, py = -dy / n * half, dx / n * half
    return polygon([(tx, ty), (bx + px, by + py), (bx - px, by - py)])


def double_arrow(a, b, width=0.07, head=0.14):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    n = math.hypot(dx, dy)
    ux, uy = dx / n, dy / n
    return union(segment(ax + ux * head, ay + uy * head, bx - ux * head, by - uy * head, width),
                 arrow_head(a, (ax + ux * head * 1.3, ay + uy * head * 1.3), head * 0.8),
                 arrow_head(b, (bx - ux * head * 1.3, by - uy * head * 1.3), head * 0.8))


def star(cx, cy, r_out, r_in, points=5):
    pts = []
    for k in range(points * 2):
        r = r_out if k % 2 == 0 else r_in
        t = -math.pi / 2 + k * math.pi / points
        pts.append((cx + r * math.cos(t), cy + r * math.sin(t)))
    return polygon(pts)


W = 0.09  # the usual stroke


ICONS = {
    'back': lambda: polygon([(0.15, 0.5), (0.5, 0.17), (0.5, 0.36), (0.85, 0.36), (0.85, 0.64), (0.5, 0.64),
                             (0.5, 0.83)]),
    'next': lambda: polygon([(0.85, 0.5), (0.5, 0.17), (0.5, 0.36), (0.15, 0.36), (0.15, 0.64), (0.5, 0.64),
                             (0.5, 0.83)]),
    'close': lambda: union(segment(0.22, 0.22, 0.78, 0.78, 0.15), segment(0.78, 0.22, 0.22, 0.78, 0.15)),
    'solid': lambda: rect(0.22, 0.22, 0.78, 0.78),
    'radial': lambda: union(circle(0.5, 0.5, 0.12), ring(0.5, 0.5, 0.3, W)),
    'clear': lambda: union(frame(0.2, 0.2, 0.8, 0.8, W), segment(0.2, 0.8, 0.8, 0.2, W)),
    'cut': lambda: union(ring(0.3, 0.72, 0.12, W), ring(0.7, 0.72, 0.12, W), segment(0.38, 0.62, 0.72, 0.12, W),
                         segment(0.62, 0.62, 0.28, 0.12, W)),
    'new': lambda: union(minus(polygon([(0.25, 0.12), (0.6, 0.12), (0.78, 0.3), (0.78, 0.88), (0.25, 0.88)]),
                               polygon([(0.33, 0.2), (0.56, 0.2), (0.7, 0.34), (0.7, 0.8), (0.33, 0.8)])),
                         rect(0.46, 0.38, 0.56, 0.7), rect(0.36, 0.49, 0.66, 0.59)),
    'clone': lambda: union(frame(0.15, 0.15, 0.6, 0.6, W), rect(0.4, 0.4, 0.85, 0.85)),
    'trash': lambda: union(rect(0.22, 0.2, 0.78, 0.28), rect(0.42, 0.12, 0.58, 0.2),
                           minus(polygon([(0.27, 0.32), (0.73, 0.32), (0.68, 0.88), (0.32, 0.88)]),
                                 union(rect(0.39, 0.4, 0.44, 0.8), rect(0.56, 0.4, 0.61, 0.8)))),
    'layer-up': lambda: union(rect(0.2, 0.72, 0.8, 0.8), rect(0.44, 0.38, 0.56, 0.64),
                              arrow_head((0.5, 0.14), (0.5, 0.42), 0.2)),
    'layer-down': lambda: union(rect(0.2, 0.2, 0.8, 0.28), rect(0.44, 0.36, 0.56, 0.62),
                                arrow_head((0.5, 0.86), (0.5, 0.58), 0.2)),
    'fit': lambda: union(frame(0.15, 0.15, 0.85, 0.85, 0.06), double_arrow((0.27, 0.27), (0.73, 0.73))),
    'centre': lambda: union(ring(0.5, 0.5, 0.22, W), segment(0.5, 0.12, 0.5, 0.88, 0.07),
                            segment(0.12, 0.5, 0.88, 0.5, 0.07)),
    'effects': lambda: star(0.5, 0.53, 0.4, 0.17),
    'crop': lambda: union(rect(0.25, 0.1, 0.35, 0.75), rect(0.25, 0.65, 0.9, 0.75), rect(0.1, 0.25, 0.75, 0.35),
                          rect(0.65, 0.25, 0.75, 0.9)),
    'eye': lambda: minus(union(ellipse(0.5, 0.5, 0.4, 0.22)), circle(0.5, 0.5, 0.16)),
    'plus': lambda: union(rect(0.42, 0.2, 0.58, 0.8), rect(0.2, 0.42, 0.8, 0.58)),
    'minus': lambda: rect(0.2, 0.42, 0.8, 0.58),
    'disk': lambda: union(minus(rounded(0.16, 0.16, 0.84, 0.84, 0.05),
                                union(rect(0.34, 0.16, 0.66, 0.4), rect(0.28, 0.54, 0.72, 0.84))),
                          rect(0.54, 0.21, 0.61, 0.35), rect(0.33, 0.61, 0.67, 0.64), rect(0.33, 0.7, 0.67, 0.73)),
    'camera': lambda: union(minus(rounded(0.12, 0.3, 0.88, 0.8, 0.06), ring(0.5, 0.55, 0.15, 0.08)),
                            rect(0.36, 0.22, 0.64, 0.3)),
    'catalogue': lambda: union(rect(0.18, 0.18, 0.46, 0.46), rect(0.54, 0.18, 0.82, 0.46),
                               rect(0.18, 0.54, 0.46, 0.82), rect(0.54, 0.54, 0.82, 0.82)),
    'pencil': lambda: union(segment(0.3, 0.7, 0.75, 0.25, 0.16), polygon([(0.18, 0.82), (0.22, 0.66),
                                                                       (0.34, 0.78)])),
    'sheet': lambda: minus(rect(0.15, 0.22, 0.85, 0.78), circle(0.5, 0.5, 0.2)),
    'square': lambda: rect(0.22, 0.22, 0.78, 0.78),
    'circle': lambda: circle(0.5, 0.5, 0.32),
    'rectangle': lambda: rect(0.12, 0.3, 0.88, 0.7),
    'oval': lambda: ellipse(0.5, 0.5, 0.38, 0.24),
    'size-round': lambda: union(ring(0.5, 0.5, 0.33, 0.07), double_arrow((0.22, 0.5), (0.78, 0.5))),
    'size-square': lambda: union(frame(0.17, 0.17, 0.83, 0.83, 0.07), double_arrow((0.27, 0.5), (0.73, 0.5))),
    'width': lambda: union(rect(0.1, 0.3, 0.16, 0.7), rect(0.84, 0.3, 0.9, 0.7), double_arrow((0.2, 0.5), (0.8, 0.5))),
    'height': lambda: union(rect(0.3, 0.1, 0.7, 0.16), rect(0.3, 0.84, 0.7, 0.9), double_arrow((0.5, 0.2), (0.5, 0.8))),
    'gap-x': lambda: union(rect(0.08, 0.25, 0.3, 0.75), rect(0.7, 0.25, 0.92, 0.75),
                           double_arrow((0.34, 0.5), (0.66, 0.5), 0.06, 0.1)),
    'gap-y': lambda: union(rect(0.25, 0.08, 0.75, 0.3), rect(0.25, 0.7, 0.75, 0.92),
                           double_arrow((0.5, 0.34), (0.5, 0.66), 0.06, 0.1)),
    'margin-left': lambda: union(frame(0.1, 0.1, 0.9, 0.9, 0.05), rect(0.42, 0.25, 0.78, 0.75),
                                 double_arrow((0.17, 0.5), (0.4, 0.5), 0.05, 0.09)),
    'margin-top': lambda: union(frame(0.1, 0.1, 0.9, 0.9, 0.05), rect(0.25, 0.42, 0.75, 0.78),
                                double_arrow((0.5, 0.17), (0.5, 0.4), 0.05, 0.09)),
    'multiple': lambda: union(*[circle(0.24 + 0.26 * i, 0.34 + 0.32 * j, 0.1) for i in range(3) for j in range(2)]),
    'individual': lambda: union(circle(0.28, 0.34, 0.14), rect(0.58, 0.2, 0.84, 0.46),
                                polygon([(0.5, 0.56), (0.7, 0.88), (0.3, 0.88)])),
    'oversized': lambda: union(frame(0.25, 0.25, 0.75, 0.75, 0.05), ring(0.5, 0.5, 0.38, 0.08)),
    'folder': lambda: polygon([(0.12, 0.26), (0.4, 0.26), (0.48, 0.36), (0.88, 0.36), (0.88, 0.8), (0.12, 0.8)]),
    'letter': lambda: union(rect(0.2, 0.18, 0.8, 0.32), rect(0.42, 0.18, 0.58, 0.84)),
    'border': lambda: union(frame(0.12, 0.12, 0.88, 0.88, 0.1), frame(0.3, 0.3, 0.7, 0.7, 0.05)),
    'printer': lambda: union(frame(0.3, 0.12, 0.7, 0.4, W), minus(rounded(0.12, 0.38, 0.88, 0.7, 0.05),
                                                                  rect(0.3, 0.58, 0.7, 0.7)),
                             frame(0.3, 0.58, 0.7, 0.88, W)),
    'gear': lambda: minus(star(0.5, 0.5, 0.42, 0.28, 8), circle(0.5, 0.5, 0.12)),
    'globe': lambda: union(ring(0.5, 0.5, 0.36, W), segment(0.14, 0.5, 0.86, 0.5, W),
                           segment(0.5, 0.14, 0.5, 0.86, W)),
}

# The tile of a button on each background: top and bottom of its gradient, and its edge.
TILES = {
    (66, 154, 252): ((52, 120, 228), (18, 60, 160), (12, 40, 110)),
    (255, 255, 192): ((250, 176, 60), (214, 110, 20), (150, 74, 10)),
}
DEFAULT_TILE = ((120, 120, 120), (60, 60, 60), (30, 30, 30))
WHITE = (255, 255, 255)


def scaled(shape, x0, y0, size):
    return lambda x, y: shape((x - x0) / size, (y - y0) / size)


def button(c, bg, icon):
    if icon not in ICONS:
        raise Problem('no icon "%s" (there are %s)' % (icon, ', '.join(sorted(ICONS))))
    top, bottom, edge = TILES.get(bg, DEFAULT_TILE)
    w, h = c.w, c.h
    r = w / 5.0
    body = rounded(0.5, 0.5, w - 0.5, h - 0.5, r)
    c.cover(body, edge)
    inner = rounded(1.5, 1.5, w - 1.5, h - 1.5, r - 1)
    c.cover(inner, lambda x, y: tuple(a + (b - a) * y / h for a, b in zip(top, bottom)))
    # A gloss over the upper half.
    c.cover(lambda x, y: inner(x, y) and y < h * 0.45, WHITE, 0.18)
    shape = ICONS[icon]()
    pad = w * 0.16
    size = w - 2 * pad
    c.cover(scaled(shape, pad + 1, pad + 1, size), edge, 0.6)  # shadow
    c.cover(scaled(shape, pad, pad, size), WHITE)


def knob(c, bg, face):
    w = c.w
    cx = cy = w / 2.0
    rad = w / 2.0 - 1
    c.cover(circle(cx, cy, rad), (40, 52, 70))
    if face == 'linear':
        colour = lambda x, y: tuple(a + (b - a) * x / w for a, b in zip((250, 250, 255), (30, 90, 200)))
    else:
        colour = lambda x, y: tuple(max(0.0, min(255.0, v - 90 * math.hypot(x - cx * 0.7, y - cy * 0.7) / w))
                                    for v in (235, 238, 245))
    c.cover(circle(cx, cy, rad - 1.5), colour)
    c.cover(ring(cx, cy, rad * 0.62, 1.2), (150, 160, 175), 0.7)
    # The pointer: the top of the knob is the value.
    c.cover(segment(cx, cy - rad + 3, cx, cy - rad * 0.35, max(2.0, w / 14.0)), (200, 30, 30))


def marker(c, bg):
    w = c.w
    colour = (255, 230, 0) if bg == (66, 154, 252) else (40, 150, 40)
    shape = polygon([(w * 0.2, w * 0.18), (w * 0.82, w * 0.5), (w * 0.2, w * 0.82)])
    c.cover(lambda x, y: shape(x - 1, y - 1), (40, 40, 40), 0.5)
    c.cover(shape, colour)


def help_image(c):
    w = c.w
    c.cover(circle(w / 2, w / 2, w / 2 - 1), (20, 70, 170))
    c.cover(circle(w / 2, w / 2, w / 2 - 3), (60, 130, 235))
    c.cover(lambda x, y: ring(w / 2, w * 0.38, w * 0.15, w * 0.09)(x, y) and not (x < w / 2 and y > w * 0.38),
            WHITE)
    c.cover(segment(w / 2, w * 0.52, w / 2, w * 0.62, w * 0.09), WHITE)
    c.cover(circle(w / 2, w * 0.76, w * 0.06), WHITE)


def glyph(c):
    # Two overlapping Ts in the first 10 columns.
    c.cover(union(rect(0, 1, 6, 2.6), rect(2.2, 1, 3.8, 8)), (128, 128, 128))
    c.cover(union(rect(3, 4, 10, 5.6), rect(5.7, 4, 7.3, 11)), (0, 0, 0))


# ---------------------------------------------------------------------------------------
# Scroll bar pieces. Markers are exact colours: no edge blending touches them.

MARKS = {n: (0, 0, n) for n in (1, 2, 3, 4)}
BAR_LIGHT, BAR_DARK, BAR_EDGE = (150, 200, 255), (40, 110, 220), (20, 50, 120)


def along(c, horizontal):
    """(length, thickness, to_xy) where to_xy maps (along, across) to pixel (x, y)."""
    if horizontal:
        return c.w, c.h, lambda a, b: (a, b)
    return c.h, c.w, lambda a, b: (b, a)


def shade(b, thickness):
    return tuple(x + (y - x) * b / max(1, thickness - 1) for x, y in zip(BAR_LIGHT, BAR_DARK))


def scroll(c, piece, direction, body):
    # A horizontal bar's channel strip is 1 x 12, its arrows and thumbs 25 x 12.
    horizontal = c.h > c.w if piece == 'channel' else c.w > c.h
    length, thick, xy = along(c, horizontal)
    if piece == 'channel':
        for a in range(length):
            for b in range(thick):
                edge = b in (0, thick - 1)
                v = (60, 90, 150) if edge else tuple(x + (y - x) * b / thick for x, y in zip((170, 190, 225),
                                                                                            (215, 228, 250)))
                c.set(*xy(a, b), v)
        return
    if piece == 'arrow':
        for a in range(length):
            for b in range(thick):
                edge = a in (0, length - 1) or b in (0, thick - 1)
                c.set(*xy(a, b), BAR_EDGE if edge else shade(b, thick))
        first = direction in ('left', 'up')
        if direction not in ('left', 'right', 'up', 'down') or horizontal != (direction in ('left', 'right')):
            raise Problem('an arrow of %dx%d points %s' % (c.w, c.h, direction))
        mid_a, mid_b = length / 2.0, thick / 2.0
        span = thick * 0.3
        tip, base = (mid_a - span, mid_a + span) if first else (mid_a + span, mid_a - span)
        tri = polygon([xy(tip, mid_b), xy(base, mid_b - span * 1.1), xy(base, mid_b + span * 1.1)])
        c.cover(tri, WHITE)
        return
    if piece != 'thumb':
        raise Problem('no scroll bar piece "%s"' % piece)
    # The thumb: rounded ends (their outer corners take the channel's colours), an edge, a
    # body and a grip of three lines across the middle.
    corners = {(0, 0), (1, 0), (0, 1)}
    for a in range(length):
        for b in range(thick):
            ea = a if a < length / 2 else length - 1 - a
            eb = b if b < thick / 2 else thick - 1 - b
            if (ea, eb) in corners:
                c.set(*xy(a, b), MARKS[3] if a < length / 2 else MARKS[4])
            elif ea == 0 or eb == 0 or (ea, eb) == (1, 1):
                c.set(*xy(a, b), BAR_EDGE)
            else:
                c.set(*xy(a, b), MARKS[1] if body == 'marked' else shade(b, thick))
    mid = length // 2
    for a in (mid - 3, mid, mid + 3):
        for b in range(3, thick - 3):
            c.set(*xy(a, b), MARKS[2])


# ---------------------------------------------------------------------------------------

def parse_colour(text):
    if not text:
        return None
    if len(text) != 7 or text[0] != '#':
        raise Problem('background "%s" is not #RRGGBB' % text)
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def main(argv):
    if len(argv) < 4:
        raise Problem(__doc__)
    out, size, background = argv[1], argv[2], argv[3]
    params = {}
    for word in argv[4:]:
        key, _, value = word.partition('=')
        if not value:
            raise Problem('param "%s" is not key=value' % word)
        params[key] = value
    try:
        w, h = (int(v) for v in size.split('x'))
    except ValueError:
        raise Problem('size "%s" is not WxH' % size)
    bg = parse_colour(background)
    part = params.pop('part', None)
    needs_bg = part in ('button', 'knob', 'marker', 'help', 'glyph')
    if needs_bg and bg is None:
        raise Problem('a %s carries its background: the row needs one' % part)
    c = Canvas(w, h, bg or (0, 0, 0))
    if part == 'button':
        button(c, bg, params.pop('icon', ''))
    elif part == 'knob':
        if w != h:
            raise Problem('a knob is square')
        knob(c, bg, params.pop('face', 'plain'))
    elif part == 'marker':
        marker(c, bg)
    elif part == 'help':
        help_image(c)
    elif part == 'glyph':
        glyph(c)
    elif part == 'scroll':
        scroll(c, params.pop('piece', ''), params.pop('dir', ''), params.pop('body', 'drawn'))
    else:
        raise Problem('no part "%s"' % part)
    if params:
        raise Problem('params not understood: %s' % ' '.join(sorted(params)))
    with open(out, 'wb') as f:
        f.write(c.bmp())


if __name__ == '__main__':
    try:
        main(sys.argv)
    except Problem as e:
        print('make_skin: %s' % e, file=sys.stderr)
        sys.exit(1)
