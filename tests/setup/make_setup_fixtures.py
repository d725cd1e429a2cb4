#!/usr/bin/env python3
"""Makes the setup engine tests' archives with 7zz from small real trees, the
trees that `7zz x` extracts from each (what an install must reproduce), and
damaged and hostile variants.
  make_setup_fixtures.py OUT_DIR EXE"""
import os, shutil, struct, subprocess, sys, zlib

out, exe = sys.argv[1], sys.argv[2]
shutil.rmtree(out, ignore_errors=True)
os.makedirs(out)

def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)

def seven(*args, cwd=None):
    subprocess.run(["7zz", *args], cwd=cwd, check=True, stdout=subprocess.DEVNULL)

tree = os.path.join(out, "tree")
write(os.path.join(tree, "readme.txt"), b"Orvo client\r\n" * 300)
write(os.path.join(tree, "bin", "data.bin"), bytes((i * 7 + 3) % 251 for i in range(70000)))
write(os.path.join(tree, "bin", "empty.dat"), b"")
write(os.path.join(tree, "\u5ba2\u6237\u7aef", "\u914d\u7f6e.ini"), "[\u8bed\u8a00]\r\nzh=1\r\n".encode("utf-8"))
write(os.path.join(tree, "long", "a_file_name_well_over_fifty_characters_long_for_the_reader.txt"), b"long name\n")
os.makedirs(os.path.join(tree, "logs"))  # stays empty: only a folder item
shutil.copy(exe, os.path.join(tree, "app.exe"))

listed = ["readme.txt", "bin/data.bin", "app.exe"]
archives = {
    "files.7z": (["a", "-bd"], listed),                 # files only, no folder items
    "folders.7z": (["a", "-bd"], ["."]),                # folder items first
    "bcj2.7z": (["a", "-bd", "-mx9"], ["app.exe", "readme.txt"]),
    "blocks.7z": (["a", "-bd", "-ms=off"], ["."]),      # one block per file
}
for name, (opts, items) in archives.items():
    seven(*opts, os.path.join("..", name), *items, cwd=tree)
    seven("x", "-bd", "-y", "-o" + os.path.join(out, "expected", name), os.path.join(out, name))
listing = subprocess.run(["7zz", "l", "-slt", os.path.join(out, "bcj2.7z")], capture_output=True, text=True, check=True).stdout
if "BCJ2" not in listing:
    sys.exit("7zz -mx9 did not use BCJ2 on the executable")
listing = subprocess.run(["7zz", "l", "-slt", os.path.join(out, "blocks.7z")], capture_output=True, text=True,
                         check=True).stdout
if "Blocks = 5" not in listing:
    sys.exit("7zz -ms=off did not give each of the five files a block of its own")

# Damaged copies: cut in half, and one byte of the packed data flipped.
data = open(os.path.join(out, "folders.7z"), "rb").read()
write(os.path.join(out, "truncated.7z"), data[: len(data) // 2])
flipped = bytearray(data)
flipped[32 + 4000] ^= 0x55
write(os.path.join(out, "flipped.7z"), bytes(flipped))

# An archive whose header has no names at all, as `7zz a -si` makes from a pipe.
subprocess.run(["7zz", "a", "-bd", "-si", os.path.join(out, "nonames.7z")], input=b"no name\n", check=True,
               stdout=subprocess.DEVNULL)

def with_header(arc, edit):
    """The archive with its (plain) header rewritten by edit, CRCs made right."""
    offset, size = struct.unpack_from("<QQ", arc, 12)
    header = bytes(edit(arc[32 + offset: 32 + offset + size]))
    out = bytearray(arc[:32 + offset] + header + arc[32 + offset + size:])
    struct.pack_into("<QQI", out, 12, offset, len(header), zlib.crc32(header))
    struct.pack_into("<I", out, 8, zlib.crc32(out[12:32]))
    return bytes(out)

def raw_archive(header, packed=b""):
    """A signature header, packed bytes and then the given header."""
    sig = b"7z\xbc\xaf\x27\x1c\x00\x04" + b"\0" * 4 + struct.pack("<QQI", len(packed), len(header), zlib.crc32(header))
    return with_header(sig + packed + header, lambda h: h)

# Hostile names: an archive with a plain header whose second name is patched
# in place.
hostile = os.path.join(out, "hostile")
write(os.path.join(hostile, "good.txt"), b"good\n")
write(os.path.join(hostile, "XXXXXXXXXX.txt"), b"evil\n")
seven("a", "-bd", "-mhc=off", "-mx0", os.path.join("..", "hostile.7z"), "good.txt", "XXXXXXXXXX.txt", cwd=hostile)
base = open(os.path.join(out, "hostile.7z"), "rb").read()
marker = "XXXXXXXXXX".encode("utf-16-le")
assert base.count(marker) == 1
for tag, text in {"dotdot": "..\\..\\XXXX", "parent": "sub/../../X", "absolute": "\\XXXXXXXXX",
                  "drive": "C:XXXXXXXXX", "stream": "good.txt:XX", "slash": "/XXXXXXXXX",
                  "superscript": "COM\u00b9.XXXXXX"}.items():
    text = text[:10].ljust(10, "X")
    write(os.path.join(out, "hostile-%s.7z" % tag), with_header(base, lambda h: h.replace(marker, text.encode("utf-16-le"))))

# Headers that ask the decoder for more memory than the archive could need:
# 201 million pack streams in 41 bytes, and an encoded header that claims to
# unpack to 1.6 GB from 5 bytes.
write(os.path.join(out, "alloc-packinfo.7z"), raw_archive(bytes.fromhex("01 04 06 00 EC 00 00 00 09")))
write(os.path.join(out, "alloc-encoded-header.7z"), raw_archive(
    bytes.fromhex("17 06 00 01 09 05 00 07 0B 01 00 01 23 03 01 01 05 5D 00 00 10 00 0C F0 00 00 A8 61 00 00"),
    b"\0" * 5))

# One file whose header repeats its names or its modification times: the
# decoder takes the last and forgets the blocks of the first.
leak = os.path.join(out, "leak")
write(os.path.join(leak, "one.txt"), b"one\n")
seven("a", "-bd", "-mhc=off", "-mx0", os.path.join("..", "leak.7z"), "one.txt", cwd=leak)
plain = open(os.path.join(out, "leak.7z"), "rb").read()
def repeat(start):
    def edit(h):
        i = h.index(start)
        prop = h[i:i + 2 + h[i + 1]]
        return h[:i] + prop + prop + h[i + len(prop):]
    return edit
write(os.path.join(out, "leak-names.7z"), with_header(plain, repeat(b"\x11\x11\x00" + "one.txt".encode("utf-16-le"))))
write(os.path.join(out, "leak-mtime.7z"), with_header(plain, repeat(b"\x14\x0a\x01\x00")))

# A path too long for the platform once under the install folder.
deep = os.path.join(out, "deep")
name = os.path.join("d" * 100, "e" * 100, "f" * 60 + ".txt")
write(os.path.join(deep, name), b"deep\n")
seven("a", "-bd", os.path.join("..", "deep.7z"), name, cwd=deep)

# An installed folder holding a symbolic link to a folder outside it (made
# here: the prefix shows host links as reparse points).
outside = os.path.join(out, "remove-link-outside")
write(os.path.join(outside, "precious.txt"), b"keep me")
linked = os.path.join(out, "remove-link")
write(os.path.join(linked, "held.dll"), b"in use")
write(os.path.join(linked, "plain.txt"), b"x")
os.symlink(os.path.join("..", "remove-link-outside"), os.path.join(linked, "link"))

# A folder left with a link in it, which "clean.bat" must not be run on.
write(os.path.join(out, "clean-link-outside", "precious.txt"), b"keep me")
write(os.path.join(out, "clean-link", "OrvoUninstall.exe"), b"x")
os.makedirs(os.path.join(out, "clean-link", "sub"))
os.symlink(os.path.join("..", "..", "clean-link-outside"), os.path.join(out, "clean-link", "sub", "link"))

# Links that name a folder other than they spell: the host's root (a drive
# root to the prefix) and an ordinary folder.
os.symlink("/", os.path.join(out, "link-to-root"))
