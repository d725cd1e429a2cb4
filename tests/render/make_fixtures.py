#!/usr/bin/env python3
"""Makes the render tests' images: lossless stills in several PNG forms plus
BMP and GIF through ImageMagick, animated PNGs with exact frame-control fields
and the frames a reference composer expects from them, an apngasm-made APNG,
an animated GIF with known delays, and malformed files.

Each expected result is an .expect file: width, height and frame count as
little-endian 32-bit values, then per frame its delay (32-bit) and its
premultiplied blue-green-red-alpha pixels."""
import os, shutil, struct, subprocess, sys, zlib

out = sys.argv[1]
shutil.rmtree(out, ignore_errors=True)
os.makedirs(out)
CONVERT = "/usr/bin/convert"

def path(name):
    return os.path.join(out, name)

def write(name, data):
    open(path(name), "wb").write(data)

def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

SIG = b"\x89PNG\r\n\x1a\n"

def ihdr(w, h, depth=8, ctype=6, interlace=0):
    return chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, ctype, 0, 0, interlace))

def rows_rgba(w, h, px):
    return b"".join(b"\0" + b"".join(bytes(px[y * w + x]) for x in range(w)) for y in range(h))

def png_rgba(w, h, px):
    return SIG + ihdr(w, h) + chunk(b"IDAT", zlib.compress(rows_rgba(w, h, px))) + chunk(b"IEND", b"")

def premul(p):
    r, g, b, a = p
    if a == 0:
        return (0, 0, 0, 0)
    return (b * a // 255, g * a // 255, r * a // 255, a)

def expect(name, w, h, frames):
    """frames: list of (delay, straight RGBA pixel list)."""
    data = struct.pack("<III", w, h, len(frames))
    for delay, px in frames:
        data += struct.pack("<i", delay) + b"".join(bytes(premul(p)) for p in px)
    write(name + ".expect", data)

# The still image: 6x4, every alpha class, the edge-case pixel (255,128,0,128)
# and a transparent pixel that carries colour.
W, H = 6, 4
STILL = [
    (255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 255, 255), (255, 255, 255, 255), (0, 0, 0, 255), (255, 128, 0, 128),
    (200, 100, 50, 0), (10, 20, 30, 40), (255, 255, 0, 255), (0, 255, 255, 128), (128, 128, 128, 255), (255, 0, 255, 0),
    (1, 2, 3, 255), (250, 240, 230, 200), (60, 70, 80, 255), (0, 0, 0, 0), (90, 180, 30, 255), (255, 255, 255, 1),
    (40, 40, 40, 255), (80, 0, 160, 255), (0, 90, 0, 64), (17, 34, 51, 255), (255, 0, 0, 128), (7, 7, 7, 255),
]
write("still_rgba.png", png_rgba(W, H, STILL))
expect("still_rgba", W, H, [(0, STILL)])

# 16-bit RGBA, Adam7-interlaced, of the same pixels.
def rows16(w, h, px):
    return b"".join(b"\0" + b"".join(struct.pack(">HHHH", *(c * 257 for c in px[y * w + x])) for x in range(w)) for y in range(h))
def adam7(w, h, px, bpp_bytes, pixel_bytes):
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
    raw = b""
    for x0, y0, dx, dy in passes:
        xs = list(range(x0, w, dx))
        for y in range(y0, h, dy):
            if xs:
                raw += b"\0" + b"".join(pixel_bytes(px[y * w + x]) for x in xs)
    return raw
write("still_rgba16.png", SIG + ihdr(W, H, 16, 6) + chunk(b"IDAT", zlib.compress(rows16(W, H, STILL))) + chunk(b"IEND", b""))
write("still_interlaced.png", SIG + ihdr(W, H, 8, 6, 1)
      + chunk(b"IDAT", zlib.compress(adam7(W, H, STILL, 4, bytes))) + chunk(b"IEND", b""))
for n in ("still_rgba16", "still_interlaced"):
    expect(n, W, H, [(0, STILL)])

# Palette with tRNS: opaque, half and clear entries.
PAL = [(255, 0, 0), (0, 128, 255), (20, 200, 20), (255, 255, 255)]
PAL_A = [255, 128, 0, 255]
IDX = [(x + 2 * y) % 4 for y in range(H) for x in range(W)]
write("still_palette.png", SIG + ihdr(W, H, 8, 3) + chunk(b"PLTE", b"".join(bytes(c) for c in PAL))
      + chunk(b"tRNS", bytes(PAL_A)) + chunk(b"IDAT", zlib.compress(b"".join(b"\0" + bytes(IDX[y * W:y * W + W]) for y in range(H))))
      + chunk(b"IEND", b""))
expect("still_palette", W, H, [(0, [PAL[i] + (PAL_A[i],) for i in IDX])])

# Grey and grey with alpha.
GREY = [(x * 40 + y * 10) % 256 for y in range(H) for x in range(W)]
write("still_grey.png", SIG + ihdr(W, H, 8, 0)
      + chunk(b"IDAT", zlib.compress(b"".join(b"\0" + bytes(GREY[y * W:y * W + W]) for y in range(H)))) + chunk(b"IEND", b""))
expect("still_grey", W, H, [(0, [(g, g, g, 255) for g in GREY])])
GA = [(g, (g * 3) % 256) for g in GREY]
write("still_greyalpha.png", SIG + ihdr(W, H, 8, 4)
      + chunk(b"IDAT", zlib.compress(b"".join(b"\0" + b"".join(bytes(p) for p in GA[y * W:y * W + W]) for y in range(H))))
      + chunk(b"IEND", b""))
expect("still_greyalpha", W, H, [(0, [(g, g, g, a) for g, a in GA])])

# Opaque pictures through ImageMagick: BMP and a single-frame GIF of few colours.
OPAQUE = [(p[0], p[1], p[2], 255) for p in STILL]
write("opaque.png", png_rgba(W, H, OPAQUE))
subprocess.run([CONVERT, path("opaque.png"), "-type", "TrueColor", "BMP3:" + path("opaque.bmp")], check=True)
expect("opaque", W, H, [(0, OPAQUE)])
GIFPX = [PAL[i] + (255,) for i in IDX]
write("gif_src.png", png_rgba(W, H, GIFPX))
subprocess.run([CONVERT, path("gif_src.png"), path("still.gif")], check=True)
expect("still_gif", W, H, [(0, GIFPX)])
subprocess.run([CONVERT, "-size", "16x16", "xc:#3366CC", "-quality", "95", path("still.jpg")], check=True)
subprocess.run([CONVERT, "-size", "16x16", "xc:#3366CC", "-quality", "95", "-interlace", "Plane", path("still_progressive.jpg")],
               check=True)

# ---- Animated PNG ----
def fctl(seq, w, h, x, y, num, den, dispose, blend):
    return chunk(b"fcTL", struct.pack(">IIIIIHHBB", seq, w, h, x, y, num, den, dispose, blend))

def frame_rows(fw, fh, px):
    return zlib.compress(rows_rgba(fw, fh, px))

def apng(cw, ch, frames, plays=0, hidden=None, ctype=6, palette=None, encode=None):
    """frames: dicts with x, y, w, h, px, num, den, dispose, blend. hidden: pixels
    of a default image that is not part of the animation."""
    encode = encode or frame_rows
    data = SIG + ihdr(cw, ch, 8, ctype)
    if palette:
        data += chunk(b"PLTE", palette[0]) + chunk(b"tRNS", palette[1])
    data += chunk(b"acTL", struct.pack(">II", len(frames), plays))
    seq = 0
    if hidden is not None:
        data += chunk(b"IDAT", encode(cw, ch, hidden))
    for i, f in enumerate(frames):
        data += fctl(seq, f["w"], f["h"], f["x"], f["y"], f["num"], f["den"], f["dispose"], f["blend"])
        seq += 1
        z = encode(f["w"], f["h"], f["px"])
        if i == 0 and hidden is None:
            data += chunk(b"IDAT", z)
        else:
            data += chunk(b"fdAT", struct.pack(">I", seq) + z)
            seq += 1
    return data + chunk(b"IEND", b"")

def delay(num, den):
    if den in (0, 100): return num
    if den == 10: return num * 10
    if den == 1000: return num // 10
    return num * 100 // den

def over(d, s):
    """Straight-alpha source-over, rounded as the decoder rounds."""
    sa, da = s[3], d[3]
    if sa == 255: return s
    if sa == 0: return d
    dw = da * (255 - sa)
    oa = sa * 255 + dw
    return tuple((s[c] * sa * 255 + d[c] * dw + oa // 2) // oa for c in range(3)) + ((oa + 127) // 255,)

def compose(cw, ch, frames):
    """Reference composer: the full canvas after each frame."""
    canvas = [(0, 0, 0, 0)] * (cw * ch)
    result = []
    for i, f in enumerate(frames):
        dispose = 1 if (i == 0 and f["dispose"] == 2) else f["dispose"]
        cells = [(f["y"] + y) * cw + f["x"] + x for y in range(f["h"]) for x in range(f["w"])]
        saved = [canvas[c] for c in cells]
        for k, c in enumerate(cells):
            canvas[c] = f["px"][k] if f["blend"] == 0 else over(canvas[c], f["px"][k])
        result.append((delay(f["num"], f["den"]), list(canvas)))
        if dispose == 1:
            for c in cells: canvas[c] = (0, 0, 0, 0)
        elif dispose == 2:
            for k, c in enumerate(cells): canvas[c] = saved[k]
    return result

def solid(w, h, p):
    return [p] * (w * h)

CW, CH = 8, 6
BASIC = [
    dict(x=0, y=0, w=CW, h=CH, px=solid(CW, CH, (0, 0, 255, 255)), num=1, den=1000, dispose=0, blend=0),
    # Half-transparent red over opaque blue, then cleared to the background.
    dict(x=1, y=1, w=3, h=2, px=solid(3, 2, (255, 0, 0, 128)), num=3, den=10, dispose=1, blend=1),
    # Half-transparent green over a cleared (transparent) hole and over blue, then restored.
    dict(x=2, y=1, w=4, h=3, px=[(0, 255, 0, 128) if (x + y) % 2 else (0, 255, 0, 0) for y in range(3) for x in range(4)],
         num=7, den=0, dispose=2, blend=1),
    dict(x=5, y=4, w=3, h=2, px=solid(3, 2, (255, 255, 0, 255)), num=1, den=3, dispose=0, blend=1),
]
write("anim_basic.png", apng(CW, CH, BASIC, plays=3))
expect("anim_basic", CW, CH, compose(CW, CH, BASIC))

# A default image that is not a frame; two counted frames follow.
HIDDEN = [
    dict(x=0, y=0, w=CW, h=CH, px=solid(CW, CH, (10, 20, 30, 255)), num=5, den=100, dispose=0, blend=0),
    dict(x=2, y=2, w=2, h=2, px=solid(2, 2, (255, 255, 255, 64)), num=20, den=100, dispose=0, blend=1),
]
write("anim_hidden.png", apng(CW, CH, HIDDEN, hidden=solid(CW, CH, (255, 0, 255, 255))))
expect("anim_hidden", CW, CH, compose(CW, CH, HIDDEN))

# A grey animation: expanded to RGB like a grey still.
def grey_rows(fw, fh, px):
    return zlib.compress(b"".join(b"\0" + bytes(px[y * fw + x][0] for x in range(fw)) for y in range(fh)))
GREYA = [
    dict(x=0, y=0, w=4, h=3, px=[(v, v, v, 255) for v in range(0, 240, 20)], num=1, den=10, dispose=0, blend=0),
    dict(x=1, y=1, w=2, h=2, px=solid(2, 2, (200, 200, 200, 255)), num=2, den=10, dispose=0, blend=0),
]
write("anim_grey.png", apng(4, 3, GREYA, ctype=0, encode=grey_rows))
expect("anim_grey", 4, 3, compose(4, 3, GREYA))

# Cross-check against apngasm: full frames in, frames composed back out must match.
AF = [solid(5, 4, (255, 0, 0, 255)), [(0, 128, 0, 255) if x < 2 else (255, 0, 0, 255) for y in range(4) for x in range(5)],
      [(0, 0, 255, 255)] * 10 + [(0, 128, 0, 255)] * 10]
asm_dir = path("asm")
os.makedirs(asm_dir)
for i, px in enumerate(AF):
    open(os.path.join(asm_dir, "f%d.png" % i), "wb").write(png_rgba(5, 4, px))
subprocess.run(["apngasm", path("anim_apngasm.png"), os.path.join(asm_dir, "f0.png"), "1", "4"],
               check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
expect("anim_apngasm", 5, 4, [(25, px) for px in AF])

# Animated GIF: delays 0, 5, 10, 20 hundredths; full opaque frames.
GIFF = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]
args = [CONVERT]
for i, (c, d) in enumerate(zip(GIFF, (0, 5, 10, 20))):
    name = path("g%d.png" % i)
    write("g%d.png" % i, png_rgba(4, 4, solid(4, 4, c + (255,))))
    args += ["-delay", str(d), name]
subprocess.run(args + ["-loop", "0", path("anim.gif")], check=True)
expect("anim_gif", 4, 4, [(d, solid(4, 4, c + (255,))) for c, d in zip(GIFF, (100, 100, 100, 200))])

# A GIF whose second frame covers only part of the canvas (kept, not disposed):
# its composed frame is the first with the patch drawn in.
write("gp0.png", png_rgba(4, 4, solid(4, 4, (255, 0, 0, 255))))
write("gp1.png", png_rgba(2, 2, solid(2, 2, (0, 0, 255, 255))))
subprocess.run([CONVERT, "-dispose", "none", "-delay", "30", path("gp0.png"), "-page", "+1+1", "-delay", "40", path("gp1.png"),
                "-loop", "0", path("anim_partial.gif")], check=True)
patched = [(0, 0, 255, 255) if 1 <= x <= 2 and 1 <= y <= 2 else (255, 0, 0, 255) for y in range(4) for x in range(4)]
expect("anim_partial_gif", 4, 4, [(300, solid(4, 4, (255, 0, 0, 255))), (400, patched)])

# ---- Malformed files: every decoder gives zero frames ----
good = open(path("still_rgba.png"), "rb").read()
anim = open(path("anim_basic.png"), "rb").read()
def with_chunk_edit(data, kind, edit, nth=0):
    """Rewrites the nth chunk of that kind with edit(payload), CRC recomputed."""
    pos, seen = 8, 0
    while pos < len(data):
        n = struct.unpack(">I", data[pos:pos + 4])[0]
        k = data[pos + 4:pos + 8]
        if k == kind:
            if seen == nth:
                return data[:pos] + chunk(kind, edit(data[pos + 8:pos + 8 + n])) + data[pos + 12 + n:]
            seen += 1
        pos += 12 + n
    raise SystemExit("no chunk %r" % kind)

def set_be32(off, value):
    return lambda p: p[:off] + struct.pack(">I", value) + p[off + 4:]

def jpeg(huffman=True, quant_id=0, side=8):
    """A side x side one-component baseline JPEG of zero coefficients (64 bytes
    of scan data: whole at side 8); its scan names DC and AC table 0, defined
    only when huffman is set, and its component the quantisation table
    quant_id (table 0 is the one defined)."""
    soi, eoi = b"\xff\xd8", b"\xff\xd9"
    def seg(marker, body):
        return b"\xff" + bytes([marker]) + struct.pack(">H", len(body) + 2) + body
    dqt = seg(0xDB, b"\x00" + b"\x01" * 64)
    sof = seg(0xC0, struct.pack(">BHHB", 8, side, side, 1) + bytes([1, 0x11, quant_id]))
    # One code of length 1 per table: DC category 0, AC end of block.
    dht = seg(0xC4, b"\x00" + b"\x01" + b"\x00" * 15 + b"\x00" + b"\x10" + b"\x01" + b"\x00" * 15 + b"\x00")
    sos = seg(0xDA, bytes([1, 1, 0x00, 0, 63, 0]))
    return soi + dqt + sof + (dht if huffman else b"") + sos + b"\x00" * 64 + eoi

def apng_head(w, h, frames, depth=8, ctype=6):
    return SIG + ihdr(w, h, depth, ctype) + chunk(b"acTL", struct.pack(">II", frames, 0)) + fctl(0, w, h, 0, 0, 1, 10, 0, 0)

def apng_big(side, first_idat, depth=8, ctype=6):
    """Four side x side frames: the first with the given image data, the
    others 1x1 scraps."""
    data = apng_head(side, side, 4, depth, ctype) + chunk(b"IDAT", first_idat)
    for i in range(1, 4):
        data += fctl(2 * i - 1, 1, 1, 0, 0, 1, 10, 0, 0) + chunk(b"fdAT", struct.pack(">I", 2 * i) + b"\x78\x9c\x03\x00")
    return data + chunk(b"IEND", b"")

write("tables_defined.jpg", jpeg())

NOISE = [tuple((i * 7919 + c * 104729) * 2654435761 >> 13 & 255 for c in range(4)) for i in range(32 * 32)]

bad = {
    "empty": b"",
    "signature_only": SIG,
    "bad_signature": b"\x89PNX" + good[4:],
    "truncated_header": good[:20],
    "truncated_data": good[:len(good) - 20],
    "bad_crc": good[:30] + bytes([good[30] ^ 0xFF]) + good[31:],
    "huge_ihdr": SIG + ihdr(100000, 100000) + chunk(b"IDAT", zlib.compress(b"\0" * 64)) + chunk(b"IEND", b""),
    "side_over_cap": SIG + ihdr(16385, 1) + chunk(b"IDAT", zlib.compress(b"\0" * 64)) + chunk(b"IEND", b""),
    "zero_width": SIG + ihdr(0, 4) + chunk(b"IDAT", zlib.compress(b"\0" * 4)) + chunk(b"IEND", b""),
    "chunk_length_past_end": good[:33] + struct.pack(">I", 0x7FFFFFF0) + good[37:],
    "apng_count_mismatch": with_chunk_edit(anim, b"acTL", set_be32(0, 5)),
    "apng_huge_count": with_chunk_edit(anim, b"acTL", set_be32(0, 1000000000)),
    "apng_frame_outside": with_chunk_edit(anim, b"fcTL", set_be32(12, 7), nth=1),
    "apng_frame_offset_overflow": with_chunk_edit(anim, b"fcTL", set_be32(12, 0xFFFFFFFF), nth=1),
    "apng_seq_out_of_order": with_chunk_edit(anim, b"fcTL", set_be32(0, 9), nth=2),
    "apng_bad_dispose": with_chunk_edit(anim, b"fcTL", lambda p: p[:24] + b"\x07" + p[25:], nth=1),
    "apng_first_not_full": with_chunk_edit(anim, b"fcTL", set_be32(4, 3), nth=0),
    "apng_frame_data_broken": with_chunk_edit(anim, b"fdAT", lambda p: p[:4] + b"\x78\x9c\xff\xff", nth=0),
    "gif_huge_screen": b"GIF89a" + struct.pack("<HH", 60000, 60000) + b"\x00\x00\x00" + b",\x00\x00\x00\x00"
                       + struct.pack("<HH", 60000, 60000) + b"\x00\x02\x02\x44\x01\x00;",
    "bmp_huge": b"BM" + struct.pack("<IHHI", 70, 0, 0, 54) + struct.pack("<IiiHHIIiiII", 40, 50000, 50000, 1, 32, 0, 16, 0, 0, 0, 0)
                + b"\0" * 16,
    "garbage": bytes((i * 37 + 11) % 256 for i in range(300)),
    # A run-length count of 0 that never advances (HDR, a format left out).
    "hdr_rle_zero_run": b"#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 8\n\x02\x02\x00\x08",
    "jpeg_undefined_huffman": jpeg(huffman=False),
    "jpeg_undefined_quant": jpeg(quant_id=1),
    # Image data whole in the first IDAT; a second one announces 2^30-1 bytes it lacks.
    "png_idat_past_end": SIG + ihdr(32, 32) + chunk(b"IDAT", zlib.compress(rows_rgba(32, 32, NOISE), 0))
                         + struct.pack(">I", 0x3FFFFFFF) + b"IDAT" + b"\0" * 12,
    "bmp_large_canvas_tiny_data": b"BM" + struct.pack("<IHHI", 70, 0, 0, 54)
                                  + struct.pack("<IiiHHIIiiII", 40, 8192, 8192, 1, 32, 0, 16, 0, 0, 0, 0) + b"\0" * 16,
    # Scan data for one block of the 1,048,576 the header declares.
    "jpeg_large_canvas_tiny_data": jpeg(side=8192),
    # A screen of 8192x8192 whose image data stops short of its one 1x1 frame.
    "gif_large_canvas_tiny_data": b"GIF89a" + struct.pack("<HH", 8192, 8192) + b"\x00\x00\x00" + b",\x00\x00\x00\x00"
                                  + struct.pack("<HH", 1, 1) + b"\x00\x02",
    "png_large_canvas_tiny_data": SIG + ihdr(8192, 8192) + chunk(b"IDAT", zlib.compress(b"\0" * 64)) + chunk(b"IEND", b""),
    # 127 bytes declaring an 8192x8192 animation.
    "apng_huge_canvas": apng_head(8192, 8192, 1) + chunk(b"IDAT", b"\x78\x9c" + b"\0" * 10) + chunk(b"IEND", b""),
    # 2048x2048 frames whose first is broken data that could fill it (2 KB of
    # zeros inflate to 2 MB): refused before the frames' 64 MiB are taken.
    "apng_broken_first_frame": apng_big(2048, zlib.compress(b"\0" * (2048 * 513), 9)[:-6] + b"\xff" * 6, 1, 0),
    # 256 MiB of 4096x4096 frames, within the cap, but not with the decode's
    # own buffers beside them; the first frame is real (1-bit grey zeros).
    "apng_total_over_cap": apng_big(4096, zlib.compress(b"\0" * (4096 * 513), 9), 1, 0),
}
os.makedirs(path("bad"))
for name, data in bad.items():
    open(os.path.join(path("bad"), name + ".bin"), "wb").write(data)
