"""How this machine runs Wine's 32-bit x86 code, found out rather than assumed.

The kernel hands a program to a binfmt_misc handler whose magic matches the
program's first bytes before trying to run it itself, so an enabled handler
that matches Wine's 32-bit loader means that loader runs under that handler
(an emulator such as qemu-i386). Without one, the code runs natively when the
32-bit dynamic loader starts.
"""
import os
import subprocess

BINFMT = "/proc/sys/fs/binfmt_misc"
LOADERS = ["/usr/lib/wine/wine", "/usr/lib/i386-linux-gnu/wine/wine", "/lib/ld-linux.so.2"]


def _fields(path):
    fields = {}
    with open(path, encoding="latin-1") as f:
        for line in f:
            key, _, value = line.strip().partition(" ")
            fields[key] = value
    return fields


def _matching_handler(program):
    """The interpreter of the enabled binfmt_misc handler that takes program, or None."""
    try:
        if open(os.path.join(BINFMT, "status")).read().strip() != "enabled":
            return None
        names = sorted(n for n in os.listdir(BINFMT) if n not in ("status", "register"))
        with open(program, "rb") as f:
            head = f.read(256)
    except OSError:
        return None
    for name in names:
        try:
            entry = _fields(os.path.join(BINFMT, name))
        except OSError:
            continue
        if "enabled" not in entry or "magic" not in entry:
            continue
        magic = bytes.fromhex(entry["magic"])
        mask = bytes.fromhex(entry.get("mask", "ff" * len(magic)))
        offset = int(entry.get("offset", "0"))
        window = head[offset:offset + len(magic)]
        if len(window) == len(magic) and all((b & m) == (g & m) for b, m, g in zip(window, mask, magic)):
            return entry.get("interpreter", name)
    return None


def describe():
    """One line saying how 32-bit x86 code ran on this machine."""
    program = next((p for p in LOADERS if os.path.exists(p)), None)
    if program is None:
        return "32-bit code: no 32-bit loader found"
    handler = _matching_handler(program)
    if handler:
        return "32-bit code emulated (%s runs %s through binfmt_misc)" % (handler, program)
    try:
        native = subprocess.run(["/lib/ld-linux.so.2", "--version"], capture_output=True).returncode == 0
    except OSError:
        native = False
    return "32-bit code native" if native else "32-bit code cannot run here (no binfmt_misc handler)"


if __name__ == "__main__":
    print(describe())
