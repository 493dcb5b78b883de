#!/usr/bin/env python3
"""Draw Quillvane's icons and write them as Windows .ico files.

    python3 tools/make_icons.py

writes, into res/:

    res/quillvane.ico    application icon: a quill over a shield-shaped
                         vault door (256, 48, 32, 24, 16)
    res/vault_entry.ico  a vault entry: a page with a shield badge
                         (48, 32, 16)

Only the Python standard library is used.  Every shape answers one
question: for a horizontal line y, which x intervals lie inside it.  A pixel
row is supersampled on SUB such lines and each interval adds its exact
horizontal overlap with every pixel, so the coverage of a pixel is (to
1/SUB vertically) its covered area; the colour is blended by that coverage,
which gives anti-aliased edges without a full-size intermediate image.  Small sizes are drawn from their own, simpler geometry so that they
stay legible instead of being shrunk copies of the large picture.

The output depends only on this file: running it twice gives the same bytes.
"""

import math
import os
import struct
import zlib

SUB = 16  # sample lines per pixel row


# ---------------------------------------------------------------------------
# Interval lists: sorted, non-overlapping [(x0, x1), ...]

def _merge(spans):
    spans = sorted(spans)
    out = []
    for a, b in spans:
        if b <= a:
            continue
        if out and a <= out[-1][1]:
            if b > out[-1][1]:
                out[-1] = (out[-1][0], b)
        else:
            out.append((a, b))
    return out


def _intersect(xs, ys):
    out = []
    i = j = 0
    while i < len(xs) and j < len(ys):
        a = max(xs[i][0], ys[j][0])
        b = min(xs[i][1], ys[j][1])
        if a < b:
            out.append((a, b))
        if xs[i][1] < ys[j][1]:
            i += 1
        else:
            j += 1
    return out


def _subtract(xs, ys):
    out = []
    for a, b in xs:
        for c, d in ys:
            if d <= a or c >= b:
                continue
            if c > a:
                out.append((a, c))
            a = max(a, d)
            if a >= b:
                break
        if a < b:
            out.append((a, b))
    return out


# ---------------------------------------------------------------------------
# Shapes.  Coordinates are pixels of the target image, y pointing down.

class Shape:
    top = bottom = 0.0

    def spans(self, y):
        raise NotImplementedError


class Polygon(Shape):
    """A closed polygon, filled with the even-odd rule."""

    def __init__(self, points):
        self.edges = []
        n = len(points)
        for i in range(n):
            (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
            if y0 != y1:
                self.edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0)))
        self.top = min(p[1] for p in points)
        self.bottom = max(p[1] for p in points)

    def spans(self, y):
        xs = []
        for y0, y1, x0, slope in self.edges:
            if (y0 <= y < y1) or (y1 <= y < y0):
                xs.append(x0 + (y - y0) * slope)
        xs.sort()
        return _merge(zip(xs[0::2], xs[1::2]))


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.top, self.bottom = cy - r, cy + r

    def spans(self, y):
        d = self.r * self.r - (y - self.cy) ** 2
        if d <= 0:
            return []
        h = math.sqrt(d)
        return [(self.cx - h, self.cx + h)]


class RoundRect(Shape):
    def __init__(self, x0, y0, x1, y1, r=0.0):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.r = min(r, (x1 - x0) / 2, (y1 - y0) / 2)
        self.top, self.bottom = y0, y1

    def spans(self, y):
        if not self.y0 <= y < self.y1:
            return []
        r = self.r
        inset = 0.0
        if y < self.y0 + r:
            dy = self.y0 + r - y
            inset = r - math.sqrt(max(0.0, r * r - dy * dy))
        elif y > self.y1 - r:
            dy = y - (self.y1 - r)
            inset = r - math.sqrt(max(0.0, r * r - dy * dy))
        return [(self.x0 + inset, self.x1 - inset)]


class Union(Shape):
    def __init__(self, *parts):
        self.parts = parts
        self.top = min(p.top for p in parts)
        self.bottom = max(p.bottom for p in parts)

    def spans(self, y):
        out = []
        for p in self.parts:
            if p.top <= y <= p.bottom:
                out.extend(p.spans(y))
        return _merge(out)


class Intersect(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.top, self.bottom = max(a.top, b.top), min(a.bottom, b.bottom)

    def spans(self, y):
        return _intersect(self.a.spans(y), self.b.spans(y))


class Difference(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.top, self.bottom = a.top, a.bottom

    def spans(self, y):
        return _subtract(self.a.spans(y), self.b.spans(y))


class Shift(Shape):
    def __init__(self, shape, dx, dy):
        self.shape, self.dx, self.dy = shape, dx, dy
        self.top, self.bottom = shape.top + dy, shape.bottom + dy

    def spans(self, y):
        return [(a + self.dx, b + self.dx)
                for a, b in self.shape.spans(y - self.dy)]


def dilate(shape, r, steps=16):
    """The shape grown by r in every direction (used for outlines)."""
    parts = [shape]
    for i in range(steps):
        a = 2 * math.pi * i / steps
        parts.append(Shift(shape, r * math.cos(a), r * math.sin(a)))
    return Union(*parts)


def ring(cx, cy, r_out, r_in):
    return Difference(Circle(cx, cy, r_out), Circle(cx, cy, r_in))


def bar(p, q, w):
    """A straight bar of width w from p to q (square ends)."""
    dx, dy = q[0] - p[0], q[1] - p[1]
    n = math.hypot(dx, dy)
    ox, oy = -dy / n * w / 2, dx / n * w / 2
    return Polygon([(p[0] + ox, p[1] + oy), (q[0] + ox, q[1] + oy),
                    (q[0] - ox, q[1] - oy), (p[0] - ox, p[1] - oy)])


# ---------------------------------------------------------------------------
# Colours: RGBA tuples of floats in 0..1, or functions of the pixel centre.

def rgb(hex_colour, alpha=1.0):
    v = int(hex_colour.lstrip('#'), 16)
    return ((v >> 16 & 255) / 255, (v >> 8 & 255) / 255, (v & 255) / 255,
            alpha)


def gradient(p0, p1, c0, c1):
    """Linear gradient from colour c0 at p0 to c1 at p1."""
    dx, dy = p1[0] - p0[0], p1[1] - p0[1]
    n2 = dx * dx + dy * dy

    def colour(x, y):
        t = ((x - p0[0]) * dx + (y - p0[1]) * dy) / n2
        t = min(1.0, max(0.0, t))
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))
    return colour


# ---------------------------------------------------------------------------
# Canvas: premultiplied RGBA floats.

class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def fill(self, shape, colour):
        n = self.size
        y_first = max(0, int(math.floor(shape.top)))
        y_last = min(n - 1, int(math.ceil(shape.bottom)))
        step = 1.0 / SUB
        for py in range(y_first, y_last + 1):
            cov = {}
            for i in range(SUB):
                for a, b in shape.spans(py + (i + 0.5) * step):
                    a, b = max(a, 0.0), min(b, float(n))
                    if b <= a:
                        continue
                    ia, ib = int(a), int(math.ceil(b)) - 1
                    if ia == ib:
                        cov[ia] = cov.get(ia, 0.0) + (b - a) * step
                        continue
                    cov[ia] = cov.get(ia, 0.0) + (ia + 1 - a) * step
                    for k in range(ia + 1, ib):
                        cov[k] = cov.get(k, 0.0) + step
                    cov[ib] = cov.get(ib, 0.0) + (b - ib) * step
            for px, c in cov.items():
                if c <= 1e-6:
                    continue
                r, g, bl, al = (colour(px + 0.5, py + 0.5)
                                if callable(colour) else colour)
                a = min(1.0, c) * al
                d = self.px[py * n + px]
                k = 1.0 - a
                d[0] = r * a + d[0] * k
                d[1] = g * a + d[1] * k
                d[2] = bl * a + d[2] * k
                d[3] = a + d[3] * k

    def rgba_rows(self):
        """Rows of straight (not premultiplied) 8-bit (r, g, b, a)."""
        n = self.size
        rows = []
        for y in range(n):
            row = []
            for x in range(n):
                r, g, b, a = self.px[y * n + x]
                a8 = int(round(a * 255))
                if a8 == 0:
                    row.append((0, 0, 0, 0))
                    continue
                row.append(tuple(min(255, int(round(v / a * 255)))
                                 for v in (r, g, b)) + (a8,))
            rows.append(row)
        return rows


# ---------------------------------------------------------------------------
# Geometry helpers

def quad_bezier(p0, c, p1, t):
    u = 1 - t
    return (u * u * p0[0] + 2 * u * t * c[0] + t * t * p1[0],
            u * u * p0[1] + 2 * u * t * c[1] + t * t * p1[1])


def quad_tangent(p0, c, p1, t):
    dx = 2 * (1 - t) * (c[0] - p0[0]) + 2 * t * (p1[0] - c[0])
    dy = 2 * (1 - t) * (c[1] - p0[1]) + 2 * t * (p1[1] - c[1])
    n = math.hypot(dx, dy)
    return dx / n, dy / n


def cubic_points(p0, c0, c1, p1, steps):
    pts = []
    for i in range(1, steps + 1):
        t = i / steps
        u = 1 - t
        pts.append((u ** 3 * p0[0] + 3 * u * u * t * c0[0]
                    + 3 * u * t * t * c1[0] + t ** 3 * p1[0],
                    u ** 3 * p0[1] + 3 * u * u * t * c0[1]
                    + 3 * u * t * t * c1[1] + t ** 3 * p1[1]))
    return pts


def shield(x0, x1, top, shoulder, bottom, corner=0.0, steps=24):
    """A heater shield: flat top with rounded corners, straight sides down
    to `shoulder`, then curving in to a point at `bottom`."""
    cx = (x0 + x1) / 2
    half = (x1 - x0) / 2
    pts = []
    for i in range(steps // 3 + 1):           # top-left corner
        a = math.pi + (math.pi / 2) * i / (steps // 3)
        pts.append((x0 + corner + corner * math.cos(a),
                    top + corner + corner * math.sin(a)))
    for i in range(steps // 3 + 1):           # top-right corner
        a = 1.5 * math.pi + (math.pi / 2) * i / (steps // 3)
        pts.append((x1 - corner + corner * math.cos(a),
                    top + corner + corner * math.sin(a)))
    pts.append((x1, shoulder))
    drop = bottom - shoulder
    pts += cubic_points((x1, shoulder), (x1, shoulder + drop * 0.55),
                        (cx + half * 0.45, bottom - drop * 0.18),
                        (cx, bottom), steps)
    pts += cubic_points((cx, bottom), (cx - half * 0.45, bottom - drop * 0.18),
                        (x0, shoulder + drop * 0.55), (x0, shoulder), steps)
    return Polygon(pts)


class Feather:
    """A quill: a vane along a gently curved shaft from nib to tip.

    The shaft is the quadratic curve nib -> bend -> tip; the vane covers the
    shaft from `vane_start` to the tip, `width` wide at its widest point on
    the left-hand side and a little narrower on the right.  `notches` is a
    list of (side, s, depth) slits cut into the vane edge (side +1 = left,
    -1 = right; s in 0..1 along the vane).
    """

    def __init__(self, nib, bend, tip, width, vane_start=0.3, notches=(),
                 steps=40):
        self.nib, self.bend, self.tip = nib, bend, tip
        self.width = width
        self.t0 = vane_start
        self.notches = notches
        self.steps = steps

    def point(self, t):
        return quad_bezier(self.nib, self.bend, self.tip, t)

    def normal(self, t):
        tx, ty = quad_tangent(self.nib, self.bend, self.tip, t)
        return ty, -tx       # left-hand side when walking nib -> tip

    def half_width(self, side, s):
        # Rounded at the base, widest about a third of the way, long taper.
        prof = math.sqrt(min(1.0, (s + 0.02) / 0.35)) * (1 - s) ** 0.85
        prof /= 0.74
        return self.width * prof * (1.0 if side > 0 else 0.8)

    def edge(self, side, s, frac=1.0):
        t = self.t0 + s * (1 - self.t0)
        x, y = self.point(t)
        nx, ny = self.normal(t)
        w = self.half_width(side, s) * frac * side
        return x + nx * w, y + ny * w

    def _side(self, side):
        pts = []
        cuts = sorted((s, d) for sd, s, d in self.notches if sd == side)
        for i in range(self.steps + 1):
            s = i / self.steps
            while cuts and cuts[0][0] <= s:
                sn, depth = cuts.pop(0)
                pts.append(self.edge(side, sn))
                pts.append(self.edge(side, sn - 0.07, 1 - depth))
                pts.append(self.edge(side, sn + 0.012))
            pts.append(self.edge(side, s))
        return pts

    def vane(self):
        return Polygon(self._side(+1) + self._side(-1)[::-1])

    def vane_half(self, side):
        """The part of the vane on one side of the shaft."""
        axis = [self.point(self.t0 + i / self.steps * (1 - self.t0))
                for i in range(self.steps + 1)]
        return Polygon(self._side(side) + axis[::-1])

    def shaft(self, w_base, w_tip, t_from=0.0, t_to=0.99, taper=0.0):
        """The shaft from t_from to t_to, narrowing from w_base to w_tip;
        with `taper`, the first `taper` of it sharpens to a nib point."""
        left, right = [], []
        n = self.steps
        for i in range(n + 1):
            t = t_from + (t_to - t_from) * i / n
            w = (w_base + (w_tip - w_base) * t) / 2
            if t < taper:
                w *= 0.2 + 0.8 * math.sqrt(t / taper)
            x, y = self.point(t)
            nx, ny = self.normal(t)
            left.append((x + nx * w, y + ny * w))
            right.append((x - nx * w, y - ny * w))
        return Polygon(left + right[::-1])

    def nib_cut(self, length):
        """A half-plane-like region around the nib end, `length` along."""
        x, y = self.point(0.0)
        tx, ty = quad_tangent(self.nib, self.bend, self.tip, 0.0)
        nx, ny = ty, -tx
        big = 1000.0
        ex, ey = x + tx * length, y + ty * length
        return Polygon([(ex + nx * big, ey + ny * big),
                        (ex - nx * big, ey - ny * big),
                        (x - tx * big - nx * big, y - ty * big - ny * big),
                        (x - tx * big + nx * big, y - ty * big + ny * big)])


# ---------------------------------------------------------------------------
# Palette

INK = rgb('#13233b')           # outlines
STEEL_HI = rgb('#3f86d6')      # shield face, top
STEEL_LO = rgb('#1c4f94')      # shield face, bottom
SHIELD_RIM = rgb('#102c55')
DIAL = rgb('#dbe4ef')
DIAL_SHADE = rgb('#9fb2c9')
VANE_LIGHT = rgb('#ffffff')
VANE_SHADE = rgb('#dbe5f1')
SHAFT = rgb('#b8c4d3')
QUILL = rgb('#f1e6cf')
NIB = rgb('#2a2f38')
PAPER_HI = rgb('#ffffff')
PAPER_LO = rgb('#e6ebf2')
PAPER_EDGE = rgb('#5d6b7e')
FOLD = rgb('#d6dee9')
FOLD_EDGE = rgb('#8c99ab')
TEXT = rgb('#a9b5c4')
WHITE = rgb('#ffffff')


# ---------------------------------------------------------------------------
# The application icon

def draw_app(size):
    c = Canvas(size)
    u = size / 256.0                       # design units: 256 per side
    small = size <= 16
    line = max(1.0, 5.5 * u)               # outline width in pixels

    # Shield / vault door, lower left.
    if small:
        sx0, sx1, stop, ssh, sbot = 0.0, 10.0, 4.0, 10.0, 16.0
    else:
        sx0, sx1, stop, ssh, sbot = (round(u * v)
                                     for v in (10, 166, 70, 150, 250))
    corner = (sx1 - sx0) * 0.1
    outer = shield(sx0, sx1, stop, ssh, sbot, corner)
    c.fill(outer, SHIELD_RIM)
    rim = line if size < 48 else 12 * u
    face = shield(sx0 + rim, sx1 - rim, stop + rim, ssh,
                  sbot - rim * 1.45, max(0.0, corner - rim * 0.5))
    c.fill(face, gradient((0, stop), (0, sbot), STEEL_HI, STEEL_LO))

    # Door dial: ring, hub, handle spokes and bolts, fewer as the icon
    # shrinks; a plain ring at 16 px.
    cx = (sx0 + sx1) / 2
    cy = stop + (sbot - stop) * 0.42
    if small:
        c.fill(ring(4.5, 9.5, 2.6, 1.4), DIAL)
    elif size <= 32:
        # Centre on a pixel so that the thin ring is drawn symmetrically.
        cx, cy = math.floor(cx - 0.5) + 0.5, math.floor(cy) + 0.5
        r = math.floor(44 * u) + 0.4
        c.fill(ring(cx, cy, r, r - 1.3), DIAL)
        c.fill(Circle(cx, cy, 1.2), DIAL)
    else:
        r = 44 * u
        c.fill(ring(cx, cy, r, r - 9 * u), DIAL)
        for k in range(4):                 # the handle
            a = math.pi / 4 + k * math.pi / 2
            p = (cx + math.cos(a) * r * 0.2, cy + math.sin(a) * r * 0.2)
            q = (cx + math.cos(a) * r * 0.62, cy + math.sin(a) * r * 0.62)
            c.fill(bar(p, q, 7 * u), DIAL)
            c.fill(Circle(q[0], q[1], 7 * u), DIAL)
        if size >= 128:                    # bolts round the dial
            for k in range(8):
                a = k * math.pi / 4
                c.fill(Circle(cx + math.cos(a) * (r + 14 * u),
                              cy + math.sin(a) * (r + 14 * u), 4.5 * u),
                       DIAL_SHADE)
        c.fill(Circle(cx, cy, 13 * u), DIAL)
        c.fill(Circle(cx, cy, 5 * u), DIAL_SHADE)

    # The quill, rising from the bottom centre to the top right corner.
    if small:
        f = Feather(nib=(7.5, 16.5), bend=(11.0, 8.5), tip=(15.0, 1.0),
                    width=2.6, vane_start=0.2, steps=24)
    else:
        notches = (((+1, 0.42, 0.55), (+1, 0.68, 0.5), (-1, 0.55, 0.5))
                   if size >= 128 else ())
        f = Feather(nib=(u * 114, u * 246), bend=(u * 148, u * 108),
                    tip=(u * 246, u * 10), width=u * 40, vane_start=0.3,
                    notches=notches, steps=60 if size >= 128 else 32)
    vane = f.vane()
    quill = f.shaft(max(1.6, 15 * u), max(0.8, 4 * u), taper=0.12)
    c.fill(dilate(Union(vane, quill), line), INK)
    c.fill(quill, QUILL)
    c.fill(Intersect(quill, f.nib_cut(max(2.0, 26 * u))), NIB)
    c.fill(vane, VANE_LIGHT)
    c.fill(f.vane_half(-1), VANE_SHADE)
    if not small:
        c.fill(f.shaft(max(0.9, 6 * u), max(0.5, 1.5 * u),
                       t_from=f.t0 - 0.02, t_to=0.97), SHAFT)
    return c


# ---------------------------------------------------------------------------
# The vault entry icon: a page with a shield badge

def draw_entry(size):
    c = Canvas(size)
    u = size / 48.0                        # design units: 48 per side
    small = size <= 16
    line = 1.0

    # The page, pixel-aligned so that its border stays crisp.
    if small:
        x0, y0, x1, y1, fold = 2.0, 0.0, 13.0, 16.0, 4.0
    else:
        x0, y0, x1, y1 = (round(v * u) for v in (7, 2, 39, 46))
        fold = round(10 * u)
    page = Polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold),
                    (x1, y1), (x0, y1)])
    inner = Polygon([(x0 + line, y0 + line),
                     (x1 - fold - line * 0.4, y0 + line),
                     (x1 - line, y0 + fold + line * 0.4),
                     (x1 - line, y1 - line), (x0 + line, y1 - line)])
    c.fill(page, PAPER_EDGE)
    c.fill(inner, gradient((x0, y0), (x1, y1), PAPER_HI, PAPER_LO))
    # The folded corner: a light triangle whose two folded edges are drawn
    # a little softer than the page border.
    flap = Polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)])
    c.fill(flap, FOLD)
    c.fill(RoundRect(x1 - fold, y0, x1 - fold + line, y0 + fold + line),
           FOLD_EDGE)
    c.fill(RoundRect(x1 - fold, y0 + fold, x1, y0 + fold + line), FOLD_EDGE)

    # Lines of text.
    if small:
        rows = [(4, 4, 8), (4, 6, 9), (4, 8, 6)]
        for lx, ly, lx1 in rows:
            c.fill(RoundRect(lx, ly, lx1, ly + 1), TEXT)
    else:
        pitch = max(3, round(5 * u))
        ys = range(round(y0 + 16 * u), round(y1 - 8 * u), pitch)
        for i, ly in enumerate(ys):
            right = x1 - round(6 * u) if i else x1 - fold - round(2 * u)
            if i >= 3:
                right = x0 + round(15 * u)   # short lines beside the badge
            c.fill(RoundRect(x0 + round(5 * u), ly, right,
                             ly + max(1, round(2 * u))), TEXT)

    # Shield badge, lower right, with a white keyline to lift it off the page.
    if small:
        bx0, bx1, btop, bsh, bbot = 7.0, 16.0, 7.0, 11.0, 16.0
    else:
        bx0, bx1, btop, bsh = (round(v * u) for v in (22, 46, 20, 32))
        bbot = size - 0.5
    keyline = max(1.0, 1.5 * u)
    badge = shield(bx0, bx1, btop, bsh, bbot, (bx1 - bx0) * 0.12)
    c.fill(dilate(badge, keyline), WHITE)
    c.fill(badge, SHIELD_RIM)
    rim = 1.0 if size <= 32 else 1.5
    c.fill(shield(bx0 + rim, bx1 - rim, btop + rim, bsh, bbot - rim * 1.45,
                  max(0.0, (bx1 - bx0) * 0.12 - rim * 0.5)),
           gradient((0, btop), (0, bbot), STEEL_HI, STEEL_LO))

    # A white keyhole on the badge.
    kx = (bx0 + bx1) / 2
    if small:
        c.fill(Circle(kx, 9.6, 1.5), WHITE)
        c.fill(Polygon([(kx - 0.5, 10.5), (kx + 0.5, 10.5),
                        (kx + 1.5, 13.5), (kx - 1.5, 13.5)]), WHITE)
    else:
        ky = btop + (bbot - btop) * 0.38
        c.fill(Circle(kx, ky, 3.4 * u), WHITE)
        c.fill(Polygon([(kx - 1.6 * u, ky), (kx + 1.6 * u, ky),
                        (kx + 2.6 * u, ky + 9 * u),
                        (kx - 2.6 * u, ky + 9 * u)]), WHITE)
    return c


# ---------------------------------------------------------------------------
# Encoders

def png_bytes(rows):
    """An 8-bit RGBA PNG (no filtering, zlib level 9)."""
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            raw.extend(px)

    def chunk(kind, data):
        body = kind + data
        return (struct.pack('>I', len(data)) + body
                + struct.pack('>I', zlib.crc32(body) & 0xffffffff))

    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


def dib_bytes(rows):
    """A 32-bit BGRA icon image: header, colour rows, then the AND mask.

    Both bitmaps are stored bottom-up; the header height counts both.  A
    mask bit is set (transparent) exactly where the alpha is zero.
    """
    h, w = len(rows), len(rows[0])
    mask_stride = ((w + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colour.extend((b, g, r, a))
            if a == 0:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask.extend(bits)
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, rows); 256 px goes in as PNG, the rest as DIB."""
    blobs = [(size, png_bytes(rows) if size >= 256 else dib_bytes(rows))
             for size, rows in images]
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        dim = 0 if size >= 256 else size
        out += struct.pack('<BBBBHHII', dim, dim, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    return out + b''.join(blob for _, blob in blobs)


# ---------------------------------------------------------------------------

ICONS = (
    ('quillvane.ico', draw_app, (256, 48, 32, 24, 16)),
    ('vault_entry.ico', draw_entry, (48, 32, 16)),
)


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                       os.pardir, 'res')
    for name, draw, sizes in ICONS:
        data = ico_bytes([(s, draw(s).rgba_rows()) for s in sizes])
        path = os.path.normpath(os.path.join(res, name))
        with open(path, 'wb') as fh:
            fh.write(data)
        print('wrote %s (%d bytes; sizes %s)'
              % (path, len(data), ', '.join(map(str, sizes))))


if __name__ == '__main__':
    main()
