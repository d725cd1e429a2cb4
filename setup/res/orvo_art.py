"""The Orvo look that the setup program and the launcher-updater share: one
palette and the pieces both programs draw (brand mark and word mark, icon,
caption buttons, buttons, scroll thumb, progress bar, window card).

Every piece is drawn at the pixel size the layouts use. The colours that the
layouts name (values/color.xml of each program) are the same as these.
"""
import math
import os

from pngcanvas import (Canvas, ico, linear, radial, rgb, sd_arc, sd_box, sd_circle, sd_cut, sd_intersect,
                       sd_ring, sd_stroke, sd_union, strip, with_alpha)

BG_TOP = rgb("#131f34")
BG_BOTTOM = rgb("#0b1322")
PANEL = rgb("#0d1627")
EDGE = rgb("#25354f")
LINE = rgb("#1f2e48")
ACCENT = rgb("#00ace9")
ACCENT_HI = rgb("#3fc7f7")
ACCENT_LO = rgb("#0386bb")
VIOLET = rgb("#6f5cff")
TEXT = rgb("#eef3fa")
TEXT_DIM = rgb("#8d9cb4")
TEXT_OFF = rgb("#4f5f78")
SUCCESS = rgb("#1fc98e")
DANGER = rgb("#e5484d")
CLEAR = (0, 0, 0, 0)


def brand_paint(x0, y0, size):
    """Cyan to violet across a square, the colours of the mark."""
    return linear(x0, y0 + size, x0 + size, y0, [(0.0, ACCENT), (0.55, rgb("#2f8cff")), (1.0, VIOLET)])


def mark(c, x0, y0, size, glow=False):
    """The brand mark in the square (x0, y0, size): an orbit open at the upper
    right with its satellite in the gap."""
    cx, cy = x0 + size / 2.0, y0 + size / 2.0
    width = max(size * 0.17, 2.0)
    r = size / 2.0 - width / 2.0 - size * 0.04
    ring = sd_arc(cx, cy, r, width, -20, 270)
    a = math.radians(-45)
    dot = sd_circle(cx + r * math.cos(a), cy + r * math.sin(a), max(size * 0.1, 1.6))
    box = (x0 - 2, y0 - 2, x0 + size + 2, y0 + size + 2)
    if glow:
        c.glow(sd_union(ring, dot), with_alpha(ACCENT, 70), size * 0.35,
               (x0 - size * 0.4, y0 - size * 0.4, x0 + size * 1.4, y0 + size * 1.4))
    c.fill(ring, brand_paint(x0, y0, size), box)
    c.fill(dot, ACCENT_HI if size > 20 else TEXT, box)


def wordmark_width(h):
    return int(round(h * 4.35))


def wordmark(c, x0, y0, h, paint):
    """The letters ORVO, cap height h, drawn from strokes."""
    w = max(h * 0.17, 1.6)
    half = w / 2.0
    top, bottom = y0 + half, y0 + h - half

    def o(x):
        return sd_ring(x + h / 2.0, y0 + h / 2.0, h / 2.0 - half, w)

    def r_letter(x):
        bowl_r = h * 0.27
        stem = sd_stroke([(x + half, top), (x + half, bottom)], w)
        bowl_cx = x + h * 0.62 - bowl_r - half
        bowl = sd_arc(bowl_cx, top + bowl_r, bowl_r, w, -90, 90)
        bars = sd_stroke([(x + half, top), (bowl_cx, top)], w)
        mid = sd_stroke([(x + half, top + 2 * bowl_r), (bowl_cx, top + 2 * bowl_r)], w)
        leg = sd_stroke([(bowl_cx - h * 0.02, top + 2 * bowl_r), (x + h * 0.64 - half, bottom)], w)
        return sd_union(stem, bowl, bars, mid, leg)

    def v(x):
        return sd_stroke([(x + half, top), (x + h * 0.4, bottom), (x + h * 0.8 - half, top)], w)

    gap = h * 0.22
    xs = [x0, x0 + h + gap, x0 + h + gap + h * 0.64 + gap, x0 + h + gap + h * 0.64 + gap + h * 0.8 + gap]
    letters = sd_union(o(xs[0]), r_letter(xs[1]), v(xs[2]), o(xs[3]))
    c.fill(letters, paint, (x0 - 1, y0 - 1, x0 + wordmark_width(h) + 2, y0 + h + 1))


def logo(height, mark_size, text_h):
    """Mark and word mark side by side, centred on one line."""
    gap = int(round(mark_size * 0.38))
    c = Canvas(mark_size + gap + wordmark_width(text_h) + 1, height)
    mark(c, 0, (height - mark_size) / 2.0, mark_size)
    wordmark(c, mark_size + gap, (height - text_h) / 2.0, text_h, TEXT)
    return c


def icon_image(size):
    """The program icon at one size: the mark on a dark rounded tile."""
    c = Canvas(size, size)
    r = size * 0.22
    c.fill(sd_box(0, 0, size, size, r), linear(0, 0, 0, size, [(0, rgb("#1a2944")), (1, rgb("#0a1221"))]))
    inset = size * 0.16
    mark(c, inset, inset, size - 2 * inset)
    return c


def write_icon(path):
    with open(path, "wb") as f:
        f.write(ico([icon_image(s) for s in (16, 32, 48)]))


def caption_button(glyph, cell=30):
    """Close, minimise or restore: three states (normal, hover, pushed)."""
    def draw(c, ox, i):
        if glyph == "close":
            bg = [None, DANGER, rgb("#c23a3f")][i]
        else:
            bg = [None, rgb("#ffffff", 26), rgb("#ffffff", 14)][i]
        ink = TEXT_DIM if i == 0 else TEXT
        if bg:
            c.fill(sd_box(ox + 2, 2, ox + cell - 2, cell - 2, 4), bg)
        cx, cy = ox + cell / 2.0, cell / 2.0
        box = (ox, 0, ox + cell, cell)
        if glyph == "close":
            k = 4.5
            c.fill(sd_union(sd_stroke([(cx - k, cy - k), (cx + k, cy + k)], 1.5),
                            sd_stroke([(cx - k, cy + k), (cx + k, cy - k)], 1.5)), ink, box)
        elif glyph == "minimize":
            c.fill(sd_box(cx - 5, cy, cx + 5, cy + 1.5), ink, box)
        else:
            front = sd_cut(sd_box(cx - 5, cy - 3, cx + 3, cy + 5), sd_box(cx - 3.5, cy - 1.5, cx + 1.5, cy + 3.5))
            back = sd_cut(sd_box(cx - 3, cy - 5, cx + 5, cy + 3), sd_box(cx - 5.5, cy - 3.5, cx + 3.5, cy + 5.5))
            c.fill(sd_union(front, sd_cut(back, sd_box(cx - 3.5, cy - 1.5, cx + 1.5, cy + 3.5))), ink, box)
    return strip(cell, cell, 3, draw)


def primary_button(w, h, radius=4):
    """The filled call-to-action button: normal, hover, pushed, disabled."""
    looks = [(rgb("#1db1ee"), rgb("#0a8bd1")), (rgb("#3cc3f7"), rgb("#139ade")), (rgb("#0a7fbf"), rgb("#066aa3")),
             (rgb("#26344c"), rgb("#222f45"))]

    def draw(c, ox, i):
        top, bottom = looks[i]
        body = sd_box(ox + 0.5, 0.5, ox + w - 0.5, h - 0.5, radius)
        c.fill(body, linear(0, 0, 0, h, [(0, top), (1, bottom)]), (ox, 0, ox + w, h))
        if i < 2:  # a light top edge lifts the button off the dark window
            c.fill(sd_intersect(body, sd_box(ox, 0, ox + w, 1.5)), rgb("#ffffff", 60), (ox, 0, ox + w, 2))
    return strip(w, h, 4, draw)


def outline_button(w, h, radius=4):
    """The quieter button: an accent frame that fills a little on hover."""
    looks = [(with_alpha(ACCENT, 170), with_alpha(ACCENT, 14)), (ACCENT_HI, with_alpha(ACCENT, 40)),
             (ACCENT_LO, with_alpha(ACCENT, 62)), (with_alpha(TEXT_OFF, 200), CLEAR)]

    def draw(c, ox, i):
        border, fill = looks[i]
        outer = sd_box(ox + 0.5, 0.5, ox + w - 0.5, h - 0.5, radius)
        inner = sd_box(ox + 1.5, 1.5, ox + w - 1.5, h - 1.5, radius - 1)
        c.fill(sd_cut(outer, inner), border, (ox, 0, ox + w, h))
        if fill[3]:
            c.fill(inner, fill, (ox, 0, ox + w, h))
    return strip(w, h, 4, draw)


def scroll_thumb(w=10, h=40):
    """Thumb of the vertical scroll bar: normal, hover, dragged. The rail is
    left clear, so the bar floats over the text's panel."""
    looks = [(4.0, rgb("#3a4b68")), (6.0, rgb("#566b90")), (6.0, ACCENT)]

    def draw(c, ox, i):
        width, color = looks[i]
        x0 = ox + (w - width) / 2.0
        c.fill(sd_box(x0, 2, x0 + width, h - 2, width / 2.0), color, (ox, 0, ox + w, h))
    return strip(w, h, 3, draw)


def progress_track(w, h):
    c = Canvas(w, h)
    r = h / 2.0
    c.fill(sd_box(0, 0, w, h, r), rgb("#22324d"))
    c.fill(sd_box(1, 1, w - 1, h - 1, r - 1), rgb("#0a1220"))
    return c


def progress_fill(w, h):
    c = Canvas(w, h)
    c.fill(sd_box(0, 0, w, h, h / 2.0), linear(0, 0, w, 0, [(0, ACCENT), (1, rgb("#3d7bff"))]))
    c.fill(sd_intersect(sd_box(0, 0, w, h, h / 2.0), sd_box(0, 0, w, h / 2.0)), rgb("#ffffff", 34))
    return c


def light(cx, cy, r, color, box):
    """A glow of colour fading out over radius r around (cx, cy), flattened
    vertically; box is clipped to where it shows."""
    squeeze = 0.7
    x0, y0, x1, y1 = box
    clip = (max(x0, cx - r), max(y0, cy - r * squeeze), min(x1, cx + r), min(y1, cy + r * squeeze))
    return radial(cx, cy, r, [(0, color), (1, with_alpha(color, 0))], squeeze), clip


def outline(c, x0, y0, x1, y1, radius, color):
    """A one-pixel frame inside the box, drawn only along its edges."""
    ring = sd_cut(sd_box(x0, y0, x1, y1, radius), sd_box(x0 + 1, y0 + 1, x1 - 1, y1 - 1, radius - 1))
    band = radius + 1
    for box in ((x0, y0, x1, y0 + band), (x0, y1 - band, x1, y1), (x0, y0, x0 + band, y1), (x1 - band, y0, x1, y1)):
        c.fill(ring, color, box)


def window_card(w, h, radius=6, inset=0, glow=True):
    """A window's body: dark gradient, soft light from the top corners, an
    accent line along the top and a one-pixel frame; inset leaves a margin
    (for a shadow) around it."""
    c = Canvas(w, h)
    x0, y0, x1, y1 = inset, inset, w - inset, h - inset
    body = sd_box(x0, y0, x1, y1, radius)
    c.fill(body, linear(0, y0, 0, y1, [(0, BG_TOP), (1, BG_BOTTOM)]), (x0, y0, x1, y1))
    if glow:
        width = x1 - x0
        for cx, cy, r, color in ((x1 - width * 0.18, y0 - 30, width * 0.6, with_alpha(ACCENT, 34)),
                                 (x0 + width * 0.1, y0 - 40, width * 0.45, with_alpha(VIOLET, 26))):
            paint, clip = light(cx, cy, r, color, (x0, y0, x1, y1))
            c.fill(body, paint, clip)
    c.fill(sd_intersect(body, sd_box(x0, y0, x1, y0 + 2)),
           linear(x0, 0, x1, 0, [(0, ACCENT), (1, VIOLET)]), (x0, y0, x1, y0 + 3))
    outline(c, x0, y0, x1, y1, radius, EDGE)
    return c


def shadow(c, x0, y0, x1, y1, radius, spread, strength=110):
    """A soft drop shadow around a box, slightly heavier below."""
    box = sd_box(x0, y0 + 1, x1, y1 + 1, radius)
    c.glow(box, rgb("#000000", strength), spread)


def panel(w, h, radius=6):
    """A sunken panel for text (the agreement, the notice, the folder)."""
    c = Canvas(w, h)
    c.fill(sd_box(1, 1, w - 1, h - 1, radius - 1), with_alpha(PANEL, 235))
    outline(c, 0, 0, w, h, radius, EDGE)
    return c


def save(canvas, out_dir, name, dither=False):
    with open(os.path.join(out_dir, name + ".png"), "wb") as f:
        f.write(canvas.png(dither))
