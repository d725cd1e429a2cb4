#!/usr/bin/env python3
"""Writes the test cursors beside this script: grab.cur, a 32x32 monochrome
cursor with its hot spot at (3, 4), and spin.ani, an animated cursor of two
such frames with hot spots (9, 10) and (20, 21). Run by hand; the outputs are
checked in."""
import os
import struct

SIZE = 32


def frame(hot_x, hot_y, bar):
    """A .cur file: a cross whose bar is `bar` pixels from the top, black with
    a white outline, transparent elsewhere."""
    xor = bytearray(SIZE * SIZE // 8)
    andm = bytearray(b"\xff" * (SIZE * SIZE // 8))

    def put(x, y, white):
        row = SIZE - 1 - y  # bottom-up rows
        i, bit = row * SIZE // 8 + x // 8, 0x80 >> (x % 8)
        andm[i] &= ~bit & 0xFF
        if white:
            xor[i] |= bit
        else:
            xor[i] &= ~bit & 0xFF

    for y in range(SIZE):
        for x in range(SIZE):
            in_cross = abs(y - bar) <= 2 or abs(x - 16) <= 2
            near = abs(y - bar) <= 3 or abs(x - 16) <= 3
            if in_cross:
                put(x, y, False)
            elif near:
                put(x, y, True)

    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 0, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + bytes(xor) + bytes(andm)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hot_x, hot_y, len(image), 6 + 16)
    return directory + entry + image


def chunk(tag, data):
    pad = b"\0" if len(data) % 2 else b""
    return tag + struct.pack("<I", len(data)) + data + pad


def animated(frames, jiffies):
    anih = struct.pack("<9I", 36, len(frames), len(frames), 0, 0, 0, 0, jiffies, 1)  # AF_ICON
    fram = b"fram" + b"".join(chunk(b"icon", f) for f in frames)
    body = b"ACON" + chunk(b"anih", anih) + chunk(b"LIST", fram)
    return b"RIFF" + struct.pack("<I", len(body)) + body


here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "grab.cur"), "wb") as f:
    f.write(frame(3, 4, 8))
with open(os.path.join(here, "spin.ani"), "wb") as f:
    f.write(animated([frame(9, 10, 10), frame(20, 21, 21)], 10))
