#!/usr/bin/env python3
"""Makes the install wizard tests' archives: one whose header claims far more
than any disk holds (the space check must refuse it without decoding), one of
many small files (an install that takes long enough to be interrupted), and
the sizes test's archive with folders and an empty file.
  make_install_fixtures.py OUT_DIR"""
import os, shutil, struct, subprocess, sys, zlib

out = sys.argv[1]
shutil.rmtree(out, ignore_errors=True)
os.makedirs(out)

def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)

def seven(*args, cwd=None):
    subprocess.run(["7zz", *args], cwd=cwd, check=True, stdout=subprocess.DEVNULL)

def number(value):
    """A 7z header number in its 9-byte form, good for any value."""
    return b"\xff" + struct.pack("<Q", value)

def raw_archive(header, packed):
    start = struct.pack("<QQI", len(packed), len(header), zlib.crc32(header))
    return b"7z\xbc\xaf\x27\x1c\x00\x04" + struct.pack("<I", zlib.crc32(start)) + start + packed + header

# One file stored with the copy method whose size claims 1 PiB; 5 bytes are
# really there.
HUGE = 1 << 50
name = "OrvoMain.exe".encode("utf-16-le") + b"\0\0"
header = (b"\x01\x04"                                          # header, main streams
          + b"\x06\x00\x01\x09" + number(5) + b"\x00"          # one pack stream of 5 bytes
          + b"\x07\x0b\x01\x00\x01\x01\x00"                    # one folder, one copy coder
          + b"\x0c" + number(HUGE) + b"\x00"                   # its unpacked size
          + b"\x00"                                            # end of streams
          + b"\x05\x01\x11" + number(len(name) + 1) + b"\x00" + name + b"\x00"  # one file and its name
          + b"\x00")
write(os.path.join(out, "huge.7z"), raw_archive(header, b"12345"))
write(os.path.join(out, "huge.size"), str(HUGE).encode())

# 300 files of 2000 bytes: the worker pauses before each, so the install
# runs for several seconds.
many = os.path.join(out, "many")
for i in range(300):
    write(os.path.join(many, "part%03d.bin" % i), bytes([i % 256]) * 2000)
seven("a", "-bd", os.path.join("..", "many.7z"), ".", cwd=many)

# Folders, an empty file and files in a sub-folder: what the sizes add up to.
sizes = os.path.join(out, "sizes")
write(os.path.join(sizes, "a.txt"), b"a" * 1000)
write(os.path.join(sizes, "sub", "b.bin"), bytes(range(256)) * 40)
write(os.path.join(sizes, "sub", "empty.dat"), b"")
os.makedirs(os.path.join(sizes, "void"))
seven("a", "-bd", os.path.join("..", "sizes.7z"), ".", cwd=sizes)
write(os.path.join(out, "sizes.size"), str(1000 + 256 * 40).encode())
data = open(os.path.join(out, "sizes.7z"), "rb").read()
write(os.path.join(out, "sizes-truncated.7z"), data[: len(data) - 20])
write(os.path.join(out, "garbage.7z"), b"not an archive at all" * 10)
