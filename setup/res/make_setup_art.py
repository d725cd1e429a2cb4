#!/usr/bin/env python3
"""Draws the setup program's images and icon (see setup.rc for their names).

usage: make_setup_art.py OUT_DIR
"""
import math
import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, "..", "..", "framework", "render", "res")]

from orvo_art import (ACCENT, ACCENT_HI, ACCENT_LO, EDGE, LINE, SUCCESS, TEXT, TEXT_OFF, VIOLET, caption_button,
                      logo, mark, outline_button, panel, primary_button, progress_fill, progress_track, save,
                      scroll_thumb, shadow, window_card, wordmark, wordmark_width, write_icon)
from pngcanvas import (Canvas, linear, mix, radial, rgb, sd_box, sd_circle, sd_cut, sd_intersect, sd_ring, sd_stroke,
                       smoothstep, strip, with_alpha)

WIDTH, HEIGHT = 602, 420          # the install and uninstall wizards
FOOTER_TOP = 356                  # where the wizards' button bar begins
SLIDE = (602, 252)                # carousel images: full window width, down to the button bar
HERO = (570, 180)                 # welcome banner
FINISH = (240, 150)               # finish picture
STEP_NODES = (20, 153, 287, 420)  # centres of the step marks; the layouts put the labels under them


def per_language(cell):
    """Two identical cells: the wizards pick a cell by the language index."""
    return cell.repeat(2)


def wizard_background():
    c = window_card(WIDTH, HEIGHT)
    body = sd_box(0, 0, WIDTH, HEIGHT, 6)
    c.fill(sd_intersect(body, sd_box(1, FOOTER_TOP, WIDTH - 1, HEIGHT - 1)), rgb("#070d18", 110))
    c.fill(sd_box(1, FOOTER_TOP, WIDTH - 1, FOOTER_TOP + 1), LINE)
    return c


def step_strip():
    """Four marks joined by lines: done, current (lit) and still to come."""
    w, h, cy = 440, 24, 12

    def draw(c, ox, current):
        for k in range(3):
            a, b = ox + STEP_NODES[k] + 11, ox + STEP_NODES[k + 1] - 11
            color = ACCENT if k < current else rgb("#243450")
            c.fill(sd_box(a, cy - 1, b, cy + 1, 1), color, (a - 1, 0, b + 1, h))
        for k, x in enumerate(STEP_NODES):
            x += ox
            box = (x - 12, 0, x + 12, h)
            if k < current:
                c.fill(sd_circle(x, cy, 6.5), ACCENT, box)
                c.fill(sd_stroke([(x - 3, cy), (x - 1, cy + 2.2), (x + 3, cy - 2)], 1.6), TEXT, box)
            elif k == current:
                c.glow(sd_circle(x, cy, 6.5), with_alpha(ACCENT, 90), 5.5, box)
                c.fill(sd_circle(x, cy, 7.5), ACCENT_HI, box)
                c.fill(sd_circle(x, cy, 3), TEXT, box)
            else:
                c.fill(sd_ring(x, cy, 5.5, 1.5), rgb("#3a4b68"), box)
    return strip(w, h, 4, draw)


def check_box():
    """Unchecked normal, hover, pushed, disabled, then the same checked. The
    cell is wider than the box so the label keeps 8 pixels from it."""
    w, h = 22, 20
    looks = [(rgb("#3a4d6c"), rgb("#0d1627")), (ACCENT, rgb("#10203a")), (ACCENT_LO, rgb("#0b1526")),
             (rgb("#26344c"), rgb("#111a29"))]
    fills = [ACCENT, ACCENT_HI, ACCENT_LO, rgb("#26344c")]

    def draw(c, ox, i):
        box = sd_box(ox + 2, 2, ox + 18, 18, 3)
        clip = (ox, 0, ox + w, h)
        if i < 4:
            border, fill = looks[i]
            c.fill(box, border, clip)
            c.fill(sd_box(ox + 3, 3, ox + 17, 17, 2), fill, clip)
        else:
            c.fill(box, fills[i - 4], clip)
            ink = TEXT if i < 7 else TEXT_OFF
            c.fill(sd_stroke([(ox + 6, 10.2), (ox + 8.8, 13), (ox + 14, 7.2)], 2.0), ink, clip)
    return strip(w, h, 8, draw)


def check_focus():
    c = Canvas(22, 20)
    c.fill(sd_cut(sd_box(0, 0, 20, 20, 5), sd_box(1, 1, 19, 19, 4)), with_alpha(ACCENT, 150))
    return c


def query_background():
    """The question box: a card with a caption band over a soft shadow."""
    w, h, m = 395, 201, 8
    c = Canvas(w, h)
    shadow(c, m, m, w - m, h - m, 6, m, 120)
    card = window_card(w, h, 6, m, glow=False)
    card.fill(sd_intersect(sd_box(m, m, w - m, h - m, 6), sd_box(m, m + 2, w - m, m + 36)), rgb("#ffffff", 8))
    card.fill(sd_box(m + 1, m + 36, w - m - 1, m + 37), LINE)
    c.paste(card, 0, 0)
    return c


def language_item():
    c = Canvas(146, 28)
    c.fill(sd_box(0.5, 0.5, 145.5, 27.5, 4), with_alpha(ACCENT, 36))
    c.fill(sd_cut(sd_box(0.5, 0.5, 145.5, 27.5, 4), sd_box(1.5, 1.5, 144.5, 26.5, 3)), with_alpha(ACCENT, 150))
    return c


def separator(w):
    c = Canvas(w, 1)
    c.paint_all(lambda x, y: with_alpha(rgb("#3a4f73"), 255 * math.sin(math.pi * x / w) ** 1.5))
    return c


def hint_icon():
    c = Canvas(18, 18)
    c.fill(sd_circle(9, 9, 8), ACCENT)
    c.fill(sd_box(8, 7.5, 10, 13.5, 0.5), TEXT)
    c.fill(sd_circle(9, 5.2, 1.2), TEXT)
    return c


def stars(c, rng, count, box, colors, rmax=1.3):
    x0, y0, x1, y1 = box
    for _ in range(count):
        x, y = rng.uniform(x0, x1), rng.uniform(y0, y1)
        r = rng.uniform(0.4, rmax)
        color = with_alpha(rng.choice(colors), int(rng.uniform(70, 230)))
        c.fill(sd_circle(x, y, r), color, (x - 3, y - 3, x + 3, y + 3))


def sky(w, h, top, bottom):
    c = Canvas(w, h)
    c.paint_all(linear(0, 0, 0, h, [(0, top), (1, bottom)]))
    return c


def slide_arena():
    """A lit arena floor running to the horizon under a large orbit."""
    w, h = SLIDE
    c = sky(w, h, rgb("#0a1124"), rgb("#1b1342"))
    horizon, vx = 150, w / 2.0
    c.paint_all(radial(vx, horizon, 330, [(0, with_alpha(ACCENT, 90)), (0.5, with_alpha(VIOLET, 30)),
                                         (1, with_alpha(VIOLET, 0))], 0.35))

    def floor(x, y):
        depth = y - horizon + 4.0
        u = (x - vx) / depth * 1.7  # lines fan out from the vanishing point
        du = math.hypot(1.7 / depth, u / depth)  # change of u over one pixel: lines one pixel wide
        line_u = max(0.0, 1 - abs(u - round(u)) / du) * smoothstep(2, 12, depth)
        z = 900.0 / depth            # cross lines, closer together towards the horizon
        dz = 900.0 / (depth * depth)
        line_z = max(0.0, 1 - abs(z / 20.0 - round(z / 20.0)) * 20.0 / max(dz, 1.0))
        line_z *= smoothstep(8, 18, depth)  # no cross lines where they would crowd into a haze
        fade = smoothstep(0, 80, y - horizon)
        strength = max(line_u, line_z * fade) * (0.2 + 0.8 * fade)
        return with_alpha(mix(ACCENT, VIOLET, min(1.0, abs(x - vx) / (w * 0.6))), 210 * strength)
    c.paint_all(floor, (0, horizon, w, h))
    c.fill(sd_box(0, horizon - 0.5, w, horizon + 0.5), with_alpha(ACCENT_HI, 200))
    rng = random.Random(1)
    stars(c, rng, 70, (0, 0, w, horizon - 12), [TEXT, ACCENT_HI, rgb("#b9adff")])
    mark(c, vx - 44, 40, 88, glow=True)
    return c


def slide_waves():
    """Ribbons of light flowing across the frame."""
    w, h = SLIDE
    c = sky(w, h, rgb("#0b1428"), rgb("#0e0f2e"))
    c.paint_all(radial(w * 0.75, h * 0.4, 340, [(0, with_alpha(VIOLET, 60)), (1, with_alpha(VIOLET, 0))], 0.6))
    ribbons = [(0.52, 34, 0.011, 0.3, 1.6), (0.55, 28, 0.013, 1.4, 1.1), (0.50, 42, 0.009, 2.2, 2.2),
               (0.58, 22, 0.016, 3.1, 0.9), (0.47, 38, 0.010, 4.0, 1.3), (0.60, 30, 0.012, 5.2, 0.8)]

    def light(x, y):
        best = 0.0
        for base, amp, k, phase, width in ribbons:
            cy = h * base + amp * math.sin(k * x + phase) + 0.35 * amp * math.sin(2.3 * k * x + 2 * phase)
            d = abs(y - cy)
            best = max(best, max(0.0, 1 - d / width) + 0.35 * math.exp(-d / 9.0))
        color = mix(ACCENT_HI, VIOLET, x / w)
        return with_alpha(color, min(255, 230 * best))
    c.paint_all(light)
    rng = random.Random(2)
    for _ in range(16):
        x = rng.uniform(20, w - 20)
        base, amp, k, phase, _ = rng.choice(ribbons)
        y = h * base + amp * math.sin(k * x + phase) + 0.35 * amp * math.sin(2.3 * k * x + 2 * phase)
        c.glow(sd_circle(x, y, 1.5), with_alpha(mix(ACCENT_HI, VIOLET, x / w), 220), 6, (x - 8, y - 8, x + 8, y + 8))
    stars(c, rng, 40, (0, 0, w, h), [TEXT, ACCENT_HI])
    return c


def slide_hexes():
    """A honeycomb whose cells light up towards the right, crossed by a sweep."""
    w, h = SLIDE
    c = sky(w, h, rgb("#0a1326"), rgb("#0b1a2e"))
    size = 22.0
    rng = random.Random(3)
    lit = {}

    def hex_cell(x, y):
        # axial coordinates of pointy-top hexagons, rounded to the nearest cell
        q = (math.sqrt(3) / 3 * x - y / 3.0) / size
        r = (2.0 / 3 * y) / size
        cx, cz = q, r
        cy = -cx - cz
        rx, ry, rz = round(cx), round(cy), round(cz)
        dx, dy, dz = abs(rx - cx), abs(ry - cy), abs(rz - cz)
        if dx > dy and dx > dz:
            rx = -ry - rz
        elif dy > dz:
            ry = -rx - rz
        else:
            rz = -rx - ry
        centre_x = size * math.sqrt(3) * (rx + rz / 2.0)
        centre_y = size * 1.5 * rz
        return (rx, rz), centre_x, centre_y

    def honeycomb(x, y):
        cell, hx, hy = hex_cell(x, y)
        px, py = abs(x - hx), abs(y - hy)
        # distance to the edge of a pointy-top hexagon of this size
        edge = size * math.sqrt(3) / 2 - max(px, px * 0.5 + py * math.sqrt(3) / 2)
        focus = max(0.0, 1 - math.hypot(hx - w * 0.7, (hy - h * 0.5) * 1.5) / 300.0)
        if cell not in lit:
            lit[cell] = rng.random()
        glow = focus * focus
        sweep = math.exp(-abs((x - w * 0.45) + (y - h) * 0.6) / 40.0)
        alpha = max(0.0, 1 - abs(edge - 1.2) / 1.1) * (0.10 + 0.75 * glow + 0.35 * sweep)
        if lit[cell] < 0.1 + 0.45 * glow:  # lit cells: light gathers at their rim
            alpha += (0.12 + 0.5 * glow) * (0.35 + 0.65 * math.exp(-max(edge, 0.0) / 5.0))
        color = mix(ACCENT, VIOLET, min(1.0, max(0.0, (x - w * 0.3) / (w * 0.7))))
        if lit[cell] > 0.985 and glow > 0.1:
            color, alpha = ACCENT_HI, alpha + 0.35
        return with_alpha(color, min(255, 255 * alpha))
    c.paint_all(honeycomb)
    stars(c, rng, 30, (0, 0, w, h), [TEXT, ACCENT_HI])
    return c


def slide_orbits():
    """A bright core with tilted orbits and their satellites."""
    w, h = SLIDE
    c = sky(w, h, rgb("#100d2c"), rgb("#0a1224"))
    cx, cy = w * 0.5, h * 0.52
    c.paint_all(radial(cx, cy, 260, [(0, with_alpha(VIOLET, 120)), (0.4, with_alpha(VIOLET, 40)),
                                     (1, with_alpha(VIOLET, 0))], 0.55))

    def rays(x, y):
        a = math.atan2(y - cy, x - cx)
        d = math.hypot(x - cx, y - cy)
        beam = max(0.0, math.cos(a * 9)) ** 12
        return with_alpha(ACCENT_HI, 50 * beam * max(0.0, 1 - d / 300.0))
    c.paint_all(rays)
    orbits = [(110, 0.32, -12), (175, 0.30, -12), (250, 0.28, -12)]
    for r, squash, tilt in orbits:
        t = math.radians(tilt)

        def orbit(x, y, r=r, squash=squash, t=t):
            dx, dy = x - cx, y - cy
            u = dx * math.cos(t) + dy * math.sin(t)
            v = (-dx * math.sin(t) + dy * math.cos(t)) / squash
            return abs(math.hypot(u, v) - r) * squash ** 0.5 - 0.6
        c.fill(orbit, with_alpha(mix(ACCENT, VIOLET, r / 300.0), 150), None, 1.4)
    rng = random.Random(4)
    for r, squash, tilt in orbits:
        t = math.radians(tilt)
        for _ in range(2):
            a = rng.uniform(0, 2 * math.pi)
            u, v = r * math.cos(a), r * math.sin(a) * squash
            x = cx + u * math.cos(t) - v * math.sin(t)
            y = cy + u * math.sin(t) + v * math.cos(t)
            c.glow(sd_circle(x, y, 2.5), with_alpha(ACCENT_HI, 200), 9, (x - 12, y - 12, x + 12, y + 12))
            c.fill(sd_circle(x, y, 2.5), TEXT, (x - 4, y - 4, x + 4, y + 4))
    c.glow(sd_circle(cx, cy, 16), with_alpha(ACCENT_HI, 160), 40)
    c.fill(sd_circle(cx, cy, 16), radial(cx - 4, cy - 5, 22, [(0, TEXT), (0.5, ACCENT_HI), (1, ACCENT)]),
           (cx - 18, cy - 18, cx + 18, cy + 18))
    stars(c, rng, 80, (0, 0, w, h), [TEXT, ACCENT_HI, rgb("#b9adff")])
    return c


def hero():
    """The welcome banner: the mark and the word mark on a night sky."""
    w, h = HERO
    c = Canvas(w, h)
    card = sd_box(0, 0, w, h, 8)
    c.fill(card, linear(0, 0, w, h, [(0, rgb("#0e1c3a")), (1, rgb("#221a55"))]))
    c.fill(card, radial(w * 0.3, h * 0.5, 260, [(0, with_alpha(ACCENT, 70)), (1, with_alpha(ACCENT, 0))], 0.6))
    c.fill(card, radial(w * 0.85, 0, 240, [(0, with_alpha(VIOLET, 90)), (1, with_alpha(VIOLET, 0))], 0.7))

    def streaks(x, y):
        s = 0.0
        for k, a in ((0.9, 60), (1.7, 40), (2.6, 25)):
            d = abs(y - (h * 0.78 - 0.18 * x + 18 * math.sin(x / 90.0 + k)))
            s += a * math.exp(-d / 2.5)
        return with_alpha(mix(ACCENT_HI, VIOLET, x / w), min(200, s))
    c.fill(card, streaks)
    rng = random.Random(5)
    stars(c, rng, 60, (6, 6, w - 6, h - 6), [TEXT, ACCENT_HI, rgb("#b9adff")], 1.1)
    size, text_h, gap = 84, 40, 28
    x0 = (w - (size + gap + wordmark_width(text_h))) / 2.0
    mark(c, x0, (h - size) / 2.0, size, glow=True)
    wordmark(c, x0 + size + gap, (h - text_h) / 2.0, text_h, linear(0, (h - text_h) / 2.0, 0, (h + text_h) / 2.0,
                                                                  [(0, TEXT), (1, rgb("#b8c8e0"))]))
    c.fill(sd_cut(card, sd_box(1, 1, w - 1, h - 1, 7)), with_alpha(EDGE, 200))
    return c


def finish_picture():
    """Done: a lit disc with a check, and a little confetti."""
    w, h = FINISH
    c = Canvas(w, h)
    cx, cy, r = w / 2.0, 70.0, 38.0
    c.glow(sd_circle(cx, cy, r), with_alpha(SUCCESS, 70), 34)
    for k, alpha in ((14, 60), (26, 30)):
        c.fill(sd_ring(cx, cy, r + k, 1.2), with_alpha(SUCCESS, alpha))
    c.fill(sd_circle(cx, cy, r), linear(0, cy - r, 0, cy + r, [(0, rgb("#3ee6ad")), (1, rgb("#0fa673"))]))
    c.fill(sd_stroke([(cx - 15, cy + 1), (cx - 4, cy + 12), (cx + 17, cy - 11)], 7), TEXT)
    rng = random.Random(6)
    colors = [ACCENT, ACCENT_HI, VIOLET, rgb("#ffc640"), SUCCESS]
    for i in range(16):
        a = 2 * math.pi * i / 16 + rng.uniform(-0.15, 0.15)
        d = rng.uniform(r + 20, r + 44)
        x, y = cx + d * math.cos(a) * 1.25, cy + d * math.sin(a) * 0.95
        if not (4 < x < w - 4 and 4 < y < h - 4):
            continue
        t = rng.uniform(0, math.pi)
        k = rng.uniform(2, 4)
        shape = sd_stroke([(x - k * math.cos(t), y - k * math.sin(t)), (x + k * math.cos(t), y + k * math.sin(t))], 2.2)
        c.fill(shape, with_alpha(rng.choice(colors), 230), (x - 6, y - 6, x + 6, y + 6))
    return c


def images():
    return {
        "ID_BTN_CLOSE_SMALL": caption_button("close"),
        "ID_BTN_MIN_SMALL": caption_button("minimize"),
        "ID_VSCROLLBAR": scroll_thumb(),
        "Orvo_logo": per_language(logo(24, 22, 14)),
        "bkgnd": wizard_background(),
        "begin_note": per_language(hero()),
        "change_dir": outline_button(122, 36),
        "check": check_box(),
        "check_focus": check_focus(),
        "dlg_shadow": query_background(),
        "finish_note": per_language(finish_picture()),
        "fs_01": per_language(slide_arena()),
        "fs_02": per_language(slide_waves()),
        "fs_03": per_language(slide_hexes()),
        "fs_04": per_language(slide_orbits()),
        "lang_bkgnd": language_item(),
        "next": primary_button(120, 36),
        "progressbar": progress_fill(562, 16),
        "progressbar_bkgnd": progress_track(562, 16),
        "select_lang_bkgnd": window_card(413, 332),
        "select_lang_next": primary_button(180, 40),
        "select_lang_sep": separator(280),
        "step": step_strip(),
        "user_permit_bkgnd": panel(570, 214),
        "hint": hint_icon(),
        "button": outline_button(91, 30),
    }


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    large = {"bkgnd", "begin_note", "select_lang_bkgnd", "fs_01", "fs_02", "fs_03", "fs_04"}
    for name, canvas in images().items():
        save(canvas, out_dir, name, dither=name in large)
    write_icon(os.path.join(out_dir, "logo.ico"))


if __name__ == "__main__":
    main()
