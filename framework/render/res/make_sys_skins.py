#!/usr/bin/env python3
"""Draws the framework's built-in skin images (flat look, one palette) and
writes the resource script that carries them with sys_skin.xml.

usage: make_sys_skins.py OUT_DIR SKIN_XML
"""
import math
import os
import sys

from pngcanvas import Canvas, strip

WHITE = (255, 255, 255, 255)
BORDER = (138, 145, 156, 255)
ACCENT = (60, 125, 217, 255)
ACCENT_DARK = (40, 96, 178, 255)
HOVER = (235, 243, 253, 255)
PUSHED = (214, 229, 250, 255)
DISABLED = (232, 232, 232, 255)
DISABLED_INK = (176, 176, 176, 255)
TRACK = (236, 238, 241, 255)
THUMB = (196, 201, 208, 255)
INK = (70, 76, 86, 255)
CLOSE_RED = (224, 67, 54, 255)


def state_colors(state):
    """(border, fill, ink) of normal, hover, pushed, disabled."""
    return [(BORDER, WHITE, ACCENT), (ACCENT, HOVER, ACCENT), (ACCENT_DARK, PUSHED, ACCENT_DARK),
            (DISABLED_INK, DISABLED, DISABLED_INK)][state]


def check_mark(c, ox, oy, color, scale=1.0):
    pts = [(ox + 4 * scale, oy + 8 * scale), (ox + 7 * scale, oy + 11 * scale), (ox + 12 * scale, oy + 5 * scale)]
    c.line(pts, 1.8, color)


def checkbox(c, ox, i):
    border, fill, ink = state_colors(i % 4)
    checked = i >= 4
    if checked and i % 4 != 3:
        c.frame(ox + 1.5, 1.5, ox + 14.5, 14.5, 2.5, ink, ink)
        check_mark(c, ox, 0, WHITE)
    else:
        c.frame(ox + 1.5, 1.5, ox + 14.5, 14.5, 2.5, border, fill)
        if checked:
            check_mark(c, ox, 0, ink)


def radio(c, ox, i):
    border, fill, ink = state_colors(i % 4)
    c.circle(ox + 8, 8, 6.5, border)
    c.circle(ox + 8, 8, 5.5, fill)
    if i >= 4:
        c.circle(ox + 8, 8, 3, ink)


def tree_checkbox(c, ox, i):
    border, fill, ink = state_colors(i % 3)
    c.frame(ox + 2.5, 2.5, ox + 13.5, 13.5, 2, border, fill)
    if 3 <= i < 6:
        check_mark(c, ox + 0.5, 0.5, ink, 0.9)
    elif i >= 6:
        c.rect(ox + 5, 6, ox + 11, 10, ink)


def chevron(c, ox, oy, direction, color, size=3.5, width=1.6):
    cx, cy = ox + 8, oy + 8
    d = {"down": [(-size, -size / 2), (0, size / 2), (size, -size / 2)],
         "up": [(-size, size / 2), (0, -size / 2), (size, size / 2)],
         "right": [(-size / 2, -size), (size / 2, 0), (-size / 2, size)],
         "left": [(size / 2, -size), (-size / 2, 0), (size / 2, size)]}[direction]
    c.line([(cx + x, cy + y) for x, y in d], width, color)


def scrollbar():
    cell = 16
    c = Canvas(cell * 9, cell * 5)
    inks = [INK, ACCENT, ACCENT_DARK, DISABLED_INK, DISABLED_INK]
    thumbs = [THUMB, (170, 178, 190, 255), (140, 150, 165, 255), DISABLED, DISABLED]
    for row in range(5):
        y = row * cell
        for col, arrow in ((0, "up"), (1, "down"), (4, "left"), (5, "right")):
            x = col * cell
            c.rect(x, y, x + cell, y + cell, TRACK)
            if row in (1, 2):
                c.round_rect(x + 1, y + 1, x + cell - 1, y + cell - 1, 2, HOVER if row == 1 else PUSHED)
            chevron(c, x, y, arrow, inks[row], 3, 1.5)
        for col in (3, 7):
            c.rect(col * cell, y, col * cell + cell, y + cell, TRACK)
        c.round_rect(2 * cell + 3, y + 1, 2 * cell + 13, y + 15, 4, thumbs[row])
        c.round_rect(6 * cell + 1, y + 3, 6 * cell + 15, y + 13, 4, thumbs[row])
    c.rect(8 * cell, 0, 9 * cell, cell, TRACK)
    for k in (-3, 0, 3):  # grippers: three short lines across the thumb
        c.rect(8 * cell + 5, cell + 7.5 + k, 8 * cell + 11, cell + 8.5 + k, WHITE)
        c.rect(8 * cell + 7.5 + k, 2 * cell + 5, 8 * cell + 8.5 + k, 2 * cell + 11, WHITE)
    return c


def box(c, x0, y0, x1, y1, color):
    c.line([(x0, y0), (x1, y0), (x1, y1), (x0, y1), (x0, y0)], 1.0, color)


def caption_button(glyph):
    def draw(c, ox, i):
        if glyph == "close":
            bg, ink = [(None, INK), (CLOSE_RED, WHITE), ((190, 50, 40, 255), WHITE)][i]
        else:
            bg, ink = [(None, INK), ((226, 229, 234, 255), INK), ((204, 209, 216, 255), INK)][i]
        if bg:
            c.rect(ox, 0, ox + 28, 20, bg)
        cx, cy = ox + 14, 10
        if glyph == "close":
            c.line([(cx - 4, cy - 4), (cx + 4, cy + 4)], 1.3, ink)
            c.line([(cx - 4, cy + 4), (cx + 4, cy - 4)], 1.3, ink)
        elif glyph == "minimize":
            c.rect(cx - 5, cy, cx + 5, cy + 1, ink)
        elif glyph == "maximize":
            box(c, cx - 4.5, cy - 4.5, cx + 4.5, cy + 4.5, ink)
        else:
            c.line([(cx - 2, cy - 2.5), (cx - 2, cy - 4.5), (cx + 4.5, cy - 4.5), (cx + 4.5, cy + 2), (cx + 2.5, cy + 2)],
                   1.0, ink)
            box(c, cx - 4.5, cy - 2, cx + 2, cy + 4.5, ink)
    return strip(28, 20, 3, draw)


def icons():
    def draw(c, ox, i):
        cx, cy = ox + 8, 8
        if i == 0:  # information
            c.circle(cx, cy, 7, ACCENT)
            c.rect(cx - 1, cy - 1, cx + 1, cy + 5, WHITE)
            c.circle(cx, cy - 3.5, 1.1, WHITE)
        elif i == 1:  # warning
            c.polygon([(cx, 1), (ox + 15, 15), (ox + 1, 15)], (232, 160, 32, 255))
            c.rect(cx - 1, 6, cx + 1, 11, WHITE)
            c.circle(cx, 13, 1, WHITE)
        elif i == 2:  # error
            c.circle(cx, cy, 7, CLOSE_RED)
            c.line([(cx - 3, cy - 3), (cx + 3, cy + 3)], 1.6, WHITE)
            c.line([(cx - 3, cy + 3), (cx + 3, cy - 3)], 1.6, WHITE)
        elif i == 3:  # cut
            c.line([(cx - 3, 2), (cx + 2, 10)], 1.3, INK)
            c.line([(cx + 3, 2), (cx - 2, 10)], 1.3, INK)
            for x in (cx - 3.5, cx + 3.5):
                c.circle(x, 12, 2.5, INK)
                c.circle(x, 12, 1.3, WHITE)
        elif i == 4:  # copy
            c.frame(ox + 2.5, 1.5, ox + 10.5, 10.5, 1, INK, WHITE)
            c.frame(ox + 5.5, 4.5, ox + 13.5, 14.5, 1, INK, WHITE)
        elif i == 5:  # paste
            c.frame(ox + 2.5, 2.5, ox + 13.5, 14.5, 1.5, INK, (250, 236, 200, 255))
            c.rect(ox + 5, 1, ox + 11, 4, INK)
            c.rect(ox + 5, 7, ox + 11, 8, INK)
            c.rect(ox + 5, 10, ox + 11, 11, INK)
        elif i == 6:  # question
            c.circle(cx, cy, 7, ACCENT)
            c.line([(cx - 2.5, cy - 2.5), (cx - 1.5, cy - 4.2), (cx + 1.5, cy - 4.2), (cx + 2.5, cy - 2.5),
                    (cx, cy), (cx, cy + 1.5)], 1.5, WHITE)
            c.circle(cx, cy + 4.2, 1, WHITE)
        elif i == 7:  # done
            c.circle(cx, cy, 7, (46, 160, 90, 255))
            check_mark(c, ox, 0.5, WHITE)
        elif i == 8:  # add
            c.rect(cx - 5, cy - 1, cx + 5, cy + 1, INK)
            c.rect(cx - 1, cy - 5, cx + 1, cy + 5, INK)
        elif i == 9:  # remove
            c.rect(cx - 5, cy - 1, cx + 5, cy + 1, INK)
        elif i == 10:  # search
            c.circle(cx - 1.5, cy - 1.5, 4.5, INK)
            c.circle(cx - 1.5, cy - 1.5, 3.2, WHITE)
            c.line([(cx + 1.8, cy + 1.8), (cx + 5.5, cy + 5.5)], 2, INK)
        else:  # refresh
            for a in range(30, 330, 6):
                r = math.radians(a)
                c.circle(cx + 5 * math.cos(r), cy + 5 * math.sin(r), 0.9, INK)
            c.polygon([(cx + 3, cy - 7), (cx + 7.5, cy - 3), (cx + 2, cy - 2)], INK)
    return strip(16, 16, 12, draw)


def images():
    out = {}
    out["SYS_CHECKBOX"] = strip(16, 16, 8, checkbox)
    out["SYS_RADIO"] = strip(16, 16, 8, radio)
    focus = Canvas(16, 16)
    for k in range(0, 14, 2):  # dotted focus ring
        for x, y in ((1 + k, 0), (1 + k, 15), (0, 1 + k), (15, 1 + k)):
            focus.rect(x, y, x + 1, y + 1, ACCENT)
    out["SYS_FOCUS_CHECKBOX"] = focus
    ring = Canvas(16, 16)
    for a in range(0, 360, 24):
        r = math.radians(a)
        ring.circle(8 + 7.3 * math.cos(r), 8 + 7.3 * math.sin(r), 0.6, ACCENT)
    out["SYS_FOCUS_RADIO"] = ring
    out["SYS_SCROLLBAR"] = scrollbar()
    out["SYS_BORDER"] = strip(8, 8, 2, lambda c, ox, i: c.frame(ox, 0, ox + 8, 8, 0, ACCENT if i else BORDER, WHITE))
    def dropbtn(c, ox, i):
        border, fill, ink = state_colors(i)
        if i:
            c.rect(ox, 0, ox + 16, 16, fill)
        chevron(c, ox, 0, "down", INK if i == 0 else ink)
    out["SYS_DROPBTN"] = strip(16, 16, 3, dropbtn)
    def toggle(c, ox, i):
        color = [BORDER, ACCENT, ACCENT_DARK][i % 3]
        if i < 3:
            c.polygon([(ox + 6, 4), (ox + 11, 8), (ox + 6, 12)], color)
        else:
            c.polygon([(ox + 11, 5), (ox + 11, 11), (ox + 5, 11)], color)
    out["SYS_TREE_TOGGLE"] = strip(16, 16, 6, toggle)
    out["SYS_TREE_CHECKBOX"] = strip(16, 16, 9, tree_checkbox)
    def tab(c, ox, i):
        fill = [TRACK, HOVER, WHITE][i]
        c.round_rect(ox + 0.5, 0.5, ox + 79.5, 30, 3, BORDER)
        c.round_rect(ox + 1.5, 1.5, ox + 78.5, 30, 2, fill)
        if i == 2:
            c.rect(ox + 2, 1, ox + 78, 3, ACCENT)
    out["SYS_TAB_PAGE"] = strip(80, 24, 3, tab)
    def header(c, ox, i):
        c.rect(ox, 0, ox + 20, 24, [(248, 249, 250, 255), HOVER, PUSHED, DISABLED][i])
        c.rect(ox, 23, ox + 20, 24, BORDER)
        c.rect(ox + 19, 4, ox + 20, 20, (210, 214, 220, 255))
    out["SYS_HEADER"] = strip(20, 24, 4, header)
    # The grip stays within the frame's fixed first 20 pixels: the part
    # after them is stretched along the bar, and dots there become lines.
    vert = Canvas(6, 40)
    vert.rect(0, 0, 6, 40, TRACK)
    for y in (8, 12, 16):
        vert.circle(3, y, 1, BORDER)
    out["SYS_SPLIT_VERT"] = vert
    horz = Canvas(40, 6)
    horz.rect(0, 0, 40, 6, TRACK)
    for x in (8, 12, 16):
        horz.circle(x, 3, 1, BORDER)
    out["SYS_SPLIT_HORZ"] = horz
    pb = Canvas(20, 12)
    pb.frame(0, 0, 20, 12, 5, (210, 214, 220, 255), TRACK)
    out["SYS_PROG_BKGND"] = pb
    bar = Canvas(12, 12)  # corners inside the 3-pixel margins, so stretching keeps them
    bar.round_rect(0, 0, 12, 12, 3, ACCENT)
    out["SYS_PROG_BAR"] = bar
    vpb = Canvas(12, 20)
    vpb.frame(0, 0, 12, 20, 5, (210, 214, 220, 255), TRACK)
    out["SYS_VERT_PROG_BKGND"] = vpb
    out["SYS_VERT_PROG_BAR"] = bar
    def thumb(c, ox, i):
        border, fill, ink = state_colors(i)
        c.frame(ox + 1, 1, ox + 11, 19, 3, ink if i < 3 else border, WHITE if i == 0 else fill, 1.5)
    out["SYS_SLIDER_THUMB"] = strip(12, 20, 4, thumb)
    for name in ("close", "minimize", "maximize", "restore"):
        out["SYS_BTN_" + name.upper()] = caption_button(name)
    def menu_check(c, ox, i):  # a check mark; a radio item's bullet; a disabled check mark
        if i == 1:
            c.circle(ox + 8, 8, 3, INK)
        else:
            check_mark(c, ox, 0, DISABLED_INK if i == 2 else INK)
    out["SYS_MENU_CHECK"] = strip(16, 16, 3, menu_check)
    sep = Canvas(60, 3)
    sep.rect(25, 1, 60, 2, (214, 218, 224, 255))
    out["SYS_MENU_SEP"] = sep
    out["SYS_MENU_ARROW"] = strip(16, 16, 2, lambda c, ox, i: chevron(c, ox, 0, "right", [INK, ACCENT][i], 3, 1.5))
    mb = Canvas(6, 6)
    mb.frame(0, 0, 6, 6, 0, BORDER, WHITE)
    out["SYS_MENU_BORDER"] = mb
    def menu_item(c, ox, i):
        c.rect(ox, 0, ox + 60, 24, WHITE)
        c.rect(ox, 0, ox + 24, 24, (246, 247, 249, 255))
        if i:  # the selected item, dark enough for the system's highlight text
            c.round_rect(ox + 2, 1, ox + 58, 23, 2, ACCENT)
    out["SYS_MENU_SKIN"] = strip(60, 24, 2, menu_item)
    out["SYS_ICONS"] = icons()
    wnd = Canvas(20, 90)
    wnd.rect(0, 0, 20, 90, BORDER)
    wnd.rect(1, 1, 19, 89, WHITE)
    wnd.rect(1, 1, 19, 32, (244, 246, 249, 255))
    wnd.rect(1, 32, 19, 33, (226, 229, 234, 255))
    out["SYS_WND_BKGND"] = wnd
    return out


def main():
    out_dir, skin_xml = sys.argv[1], os.path.abspath(sys.argv[2])
    os.makedirs(out_dir, exist_ok=True)
    lines = ["// Built-in skins of the framework, made by make_sys_skins.py.",
             'SYS_XML_SKIN XML "%s"' % skin_xml.replace("\\", "/")]
    for name, canvas in sorted(images().items()):
        path = os.path.join(os.path.abspath(out_dir), name.lower() + ".png")
        with open(path, "wb") as f:
            f.write(canvas.png())
        lines.append('%s PNG "%s"' % (name, path.replace("\\", "/")))
    with open(os.path.join(out_dir, "wui_sys_skin.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
