#!/usr/bin/env python3
"""Makes the dependency smoke tests' inputs: a small RGBA PNG with known
pixels, and 7z archives of a small tree made by 7zz (default method, and -mx9
over an executable, which packs it with BCJ2)."""
import os, shutil, struct, subprocess, sys, zlib

out, exe = sys.argv[1], sys.argv[2]
shutil.rmtree(out, ignore_errors=True)
os.makedirs(out)

# 3x2 pixels, straight RGBA; the test checks the same values.
pixels = [(255, 0, 0, 255), (0, 255, 0, 128), (0, 0, 255, 0),
          (255, 255, 255, 255), (0, 0, 0, 255), (10, 20, 30, 40)]
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
rows = b"".join(b"\0" + bytes(c for p in pixels[y * 3:y * 3 + 3] for c in p) for y in range(2))
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 3, 2, 8, 6, 0, 0, 0))
       + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
open(os.path.join(out, "rgba.png"), "wb").write(png)

tree = os.path.join(out, "tree")
os.makedirs(os.path.join(tree, "sub"))
open(os.path.join(tree, "readme.txt"), "wb").write(b"Orvo smoke test\r\n" * 200)
open(os.path.join(tree, "sub", "data.bin"), "wb").write(bytes((i * 7 + 3) % 251 for i in range(50000)))
shutil.copy(exe, os.path.join(tree, "app.exe"))
files = ["readme.txt", "sub/data.bin", "app.exe"]

def pack(name, *opts):
    subprocess.run(["7zz", "a", "-bd", "-bso0", *opts, os.path.join("..", name), *files], cwd=tree, check=True)
pack("default.7z")
pack("bcj2.7z", "-mx9")
listing = subprocess.run(["7zz", "l", "-slt", os.path.join(out, "bcj2.7z")], capture_output=True, text=True, check=True).stdout
if "BCJ2" not in listing:
    sys.exit("7zz -mx9 did not use BCJ2 on the executable")
