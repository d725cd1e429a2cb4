#!/usr/bin/env python3
"""Draws the launcher-updater's images and icon (see updater.rc for their
names), in the setup program's look.

usage: make_updater_art.py OUT_DIR
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [os.path.join(HERE, "..", "..", "setup", "res"), os.path.join(HERE, "..", "..", "framework", "render", "res")]

from orvo_art import (LINE, caption_button, logo, panel, progress_fill, progress_track, save, scroll_thumb, shadow,
                      window_card, write_icon)
from pngcanvas import Canvas, linear, rgb, sd_box, sd_intersect

WIDTH, HEIGHT = 719, 418   # the progress window
MARGIN = 10                # its shadow around the card
CARD = (WIDTH - 2 * MARGIN, HEIGHT - 2 * MARGIN)
HEAD, BOTTOM = 56, 44      # heights of the title band and the status bar
CONTENT = CARD[0] - 48     # width of the notice and the progress bar


def window_shadow():
    c = Canvas(WIDTH, HEIGHT)
    shadow(c, MARGIN, MARGIN, WIDTH - MARGIN, HEIGHT - MARGIN, 6, MARGIN, 130)
    return c


def head_band():
    """A faint light over the title band, closed by a hairline."""
    w = CARD[0]
    c = Canvas(w, HEAD)
    c.paint_all(linear(0, 0, 0, HEAD, [(0, rgb("#ffffff", 10)), (1, rgb("#ffffff", 0))]), (1, 2, w - 1, HEAD - 1))
    c.fill(sd_box(1, HEAD - 1, w - 1, HEAD), LINE)
    return c


def status_bar():
    """The darker bar at the bottom, following the card's rounded corners."""
    w = CARD[0]
    c = Canvas(w, BOTTOM)
    c.fill(sd_intersect(sd_box(1, -10, w - 1, BOTTOM - 1, 5), sd_box(1, 0, w - 1, BOTTOM)), rgb("#070d18", 110))
    c.fill(sd_box(1, 0, w - 1, 1), LINE)
    return c


def images():
    return {
        "ID_BTN_CLOSE_SMALL": caption_button("close"),
        "ID_BTN_MIN_SMALL": caption_button("minimize"),
        "ID_BTN_RESTORE_SMALL": caption_button("restore"),
        "ID_VSCROLLBAR": scroll_thumb(),
        "ID_ORVOLOGO": logo(28, 26, 16),
        "bg_shadow": window_shadow(),
        "bg": window_card(*CARD),
        "bg_head": head_band(),
        "bg_main": panel(CONTENT, 170),
        "bg_bottom": status_bar(),
        "prog_bg": progress_track(CONTENT, 8),
        "prog_fg": progress_fill(CONTENT, 8),
    }


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for name, canvas in images().items():
        save(canvas, out_dir, name, dither=name == "bg")
    write_icon(os.path.join(out_dir, "logo.ico"))


if __name__ == "__main__":
    main()
