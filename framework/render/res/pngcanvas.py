"""Drawing for the skin images that the build makes: RGBA canvases with
anti-aliased shapes and gradients, written as PNG or ICO. Pure Python, so the
build needs nothing beyond the interpreter.

Colours are (red, green, blue, alpha) tuples of 0-255. A paint is a colour or a
function (x, y) -> colour, x and y being a pixel centre. Shapes are either an
inside test sampled 4x4 per pixel (Canvas.shape) or a signed distance, negative
inside, whose edge is anti-aliased over one pixel (Canvas.fill); pixel-aligned
edges stay crisp.
"""
import math
import struct
import zlib

# 4x4 ordered dither, so that slow gradients over a large window do not band.
_BAYER = (0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5)


def rgb(text, alpha=255):
    """'#rrggbb' as a colour."""
    return (int(text[1:3], 16), int(text[3:5], 16), int(text[5:7], 16), alpha)


def with_alpha(color, alpha):
    return (color[0], color[1], color[2], alpha)


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t, a[3] + (b[3] - a[3]) * t)


def smoothstep(e0, e1, x):
    t = min(max((x - e0) / float(e1 - e0), 0.0), 1.0)
    return t * t * (3 - 2 * t)


def _ramp(stops, t):
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / float(t1 - t0 or 1))
    return stops[-1][1]


def linear(x0, y0, x1, y1, stops):
    """Paint running along (x0, y0) -> (x1, y1); stops are (0..1, colour) in order."""
    dx, dy = x1 - x0, y1 - y0
    length2 = float(dx * dx + dy * dy or 1)
    return lambda x, y: _ramp(stops, ((x - x0) * dx + (y - y0) * dy) / length2)


def radial(cx, cy, r, stops, sy=1.0):
    """Paint by distance from (cx, cy) over r; sy squeezes it vertically."""
    return lambda x, y: _ramp(stops, math.hypot(x - cx, (y - cy) / sy) / r)


# Signed distances (negative inside).

def sd_box(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return d


def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2.0


def _seg_dist(x, y, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    t = ((x - a[0]) * dx + (y - a[1]) * dy) / float(dx * dx + dy * dy or 1)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - a[0] - t * dx, y - a[1] - t * dy)


def sd_stroke(points, width):
    """A polyline of the given width with round ends and joins."""
    segs = list(zip(points, points[1:]))
    half = width / 2.0
    return lambda x, y: min(_seg_dist(x, y, a, b) for a, b in segs) - half


def sd_arc(cx, cy, r, width, a0, a1):
    """A ring segment from angle a0 to a1 (degrees, clockwise on screen from
    3 o'clock), with round ends."""
    a0, a1 = math.radians(a0), math.radians(a1)
    ends = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in (a0, a1)]
    span = (a1 - a0) % (2 * math.pi)
    half = width / 2.0

    def d(x, y):
        if (math.atan2(y - cy, x - cx) - a0) % (2 * math.pi) <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - half
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - half
    return d


def sd_union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def sd_cut(shape, hole):
    return lambda x, y: max(shape(x, y), -hole(x, y))


def sd_intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [0.0] * (4 * w * h)  # per pixel: straight red, green, blue 0-255, alpha 0-1

    def blend(self, x, y, color, cover):
        """Draws color over pixel (x, y) with cover (0-1) of its area."""
        if not (0 <= x < self.w and 0 <= y < self.h) or cover <= 0:
            return
        a = color[3] / 255.0 * min(cover, 1.0)
        if a <= 0:
            return
        px, i = self.px, 4 * (y * self.w + x)
        under = px[i + 3] * (1 - a)
        out_a = a + under
        px[i] = (color[0] * a + px[i] * under) / out_a
        px[i + 1] = (color[1] * a + px[i + 1] * under) / out_a
        px[i + 2] = (color[2] * a + px[i + 2] * under) / out_a
        px[i + 3] = out_a

    def _span(self, box):
        x0, y0, x1, y1 = (int(math.floor(box[0])), int(math.floor(box[1])),
                          int(math.ceil(box[2])), int(math.ceil(box[3])))
        return max(0, x0), max(0, y0), min(self.w, x1), min(self.h, y1)

    def shape(self, inside, box, color, ss=4):
        """Fills where inside(x, y) holds, ss x ss samples a pixel, within box."""
        x0, y0, x1, y1 = self._span(box)
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for sy in range(ss):
                    for sx in range(ss):
                        if inside(x + (sx + 0.5) / ss, y + (sy + 0.5) / ss):
                            hits += 1
                self.blend(x, y, color, hits / (ss * ss))

    def fill(self, sd, paint, box=None, feather=1.0):
        """Fills where the signed distance sd is negative, with an edge feather
        pixels wide, within box (default: the whole canvas)."""
        x0, y0, x1, y1 = self._span(box or (0, 0, self.w, self.h))
        solid = not callable(paint)
        blend = self.blend
        for y in range(y0, y1):
            cy = y + 0.5
            for x in range(x0, x1):
                cover = 0.5 - sd(x + 0.5, cy) / feather
                if cover > 0:
                    blend(x, y, paint if solid else paint(x + 0.5, cy), cover)

    def glow(self, sd, color, radius, box=None):
        """A soft halo: full strength inside the shape, fading out over radius."""
        x0, y0, x1, y1 = self._span(box or (0, 0, self.w, self.h))
        for y in range(y0, y1):
            for x in range(x0, x1):
                d = sd(x + 0.5, y + 0.5)
                if d < radius:
                    t = 1.0 - smoothstep(0.0, radius, max(d, 0.0))
                    self.blend(x, y, color, t * t)

    def paint_all(self, paint, box=None):
        """Covers a box with a paint (a gradient background, a pattern)."""
        x0, y0, x1, y1 = self._span(box or (0, 0, self.w, self.h))
        blend = self.blend
        for y in range(y0, y1):
            for x in range(x0, x1):
                blend(x, y, paint(x + 0.5, y + 0.5), 1.0)

    def rect(self, x0, y0, x1, y1, color):
        self.shape(lambda x, y: True, (x0, y0, x1, y1), color, 1)

    def round_rect(self, x0, y0, x1, y1, r, color):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.shape(inside, (x0, y0, x1, y1), color)

    def frame(self, x0, y0, x1, y1, r, border, fill, width=1.0):
        self.round_rect(x0, y0, x1, y1, r, border)
        self.round_rect(x0 + width, y0 + width, x1 - width, y1 - width, max(r - width, 0), fill)

    def circle(self, cx, cy, r, color):
        self.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
                   (cx - r, cy - r, cx + r, cy + r), color)

    def line(self, pts, width, color):
        half = width / 2.0
        segs = list(zip(pts, pts[1:]))
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        self.shape(lambda x, y: any(_seg_dist(x, y, a, b) <= half for a, b in segs),
                   (min(xs) - half - 1, min(ys) - half - 1, max(xs) + half + 1, max(ys) + half + 1), color)

    def polygon(self, pts, color):
        def inside(x, y):
            c = False
            for i in range(len(pts)):
                (ax, ay), (bx, by) = pts[i], pts[i - 1]
                if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                    c = not c
            return c
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        self.shape(inside, (min(xs), min(ys), max(xs), max(ys)), color)

    def paste(self, src, ox, oy):
        """Draws another canvas over this one at (ox, oy)."""
        sp = src.px
        for y in range(src.h):
            for x in range(src.w):
                i = 4 * (y * src.w + x)
                if sp[i + 3] > 0:
                    self.blend(ox + x, oy + y, (sp[i], sp[i + 1], sp[i + 2], sp[i + 3] * 255.0), 1.0)

    def repeat(self, count):
        """count copies of this canvas side by side."""
        c = Canvas(self.w * count, self.h)
        stride = 4 * self.w
        for y in range(self.h):
            row = self.px[y * stride:(y + 1) * stride]
            c.px[y * stride * count:(y + 1) * stride * count] = row * count
        return c

    def bytes_rgba(self, dither=False):
        """Rows of straight RGBA bytes, top row first."""
        rows = []
        for y in range(self.h):
            row = bytearray()
            for x in range(self.w):
                i = 4 * (y * self.w + x)
                p = self.px[i:i + 4]
                if dither:
                    d = (_BAYER[(y & 3) * 4 + (x & 3)] + 0.5) / 16.0
                    color = (min(int(p[0] + d), 255), min(int(p[1] + d), 255), min(int(p[2] + d), 255))
                else:
                    color = (int(round(p[0])), int(round(p[1])), int(round(p[2])))
                row += bytes(color + (int(round(p[3] * 255)),))
            rows.append(bytes(row))
        return rows

    def png(self, dither=False):
        raw = b"".join(b"\0" + row for row in self.bytes_rgba(dither))
        return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
                + _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))


def _chunk(tag, data):
    return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)


def ico(canvases):
    """An icon file of square canvases, each a 32-bit image with its mask."""
    head = struct.pack("<HHH", 0, 1, len(canvases))
    images = []
    for c in canvases:
        pixels = bytearray()
        for row in reversed(c.bytes_rgba()):  # bottom-up BGRA
            for i in range(0, len(row), 4):
                pixels += bytes((row[i + 2], row[i + 1], row[i], row[i + 3]))
        mask_stride = ((c.w + 31) // 32) * 4
        mask = bytes(mask_stride * c.h)  # all shown: the alpha channel decides
        info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
        images.append(info + bytes(pixels) + mask)
    offset = len(head) + 16 * len(canvases)
    entries = b""
    for c, data in zip(canvases, images):
        entries += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return head + entries + b"".join(images)


def strip(cell_w, cell_h, count, draw):
    """A row of count cells; draw(canvas, cell left, index) paints each."""
    c = Canvas(cell_w * count, cell_h)
    for i in range(count):
        draw(c, i * cell_w, i)
    return c
