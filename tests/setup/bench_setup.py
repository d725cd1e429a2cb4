#!/usr/bin/env python3
"""Benchmark of the client archive reader against 7zz on the same archive.
Makes a tree of a few hundred files (half compressible text, half random
bytes) of about SIZE_MB megabytes, packs it with 7zz, times `7zz x` (native)
and the reader (decode in memory, then write every file) under Wine, and says
how this machine ran the reader's 32-bit code (the reader finds out).
  bench_setup.py WORK_DIR BENCH_EXE WINE_RUN [SIZE_MB]"""
import os, random, shutil, subprocess, sys, time

work, bench, wine_run = sys.argv[1], sys.argv[2], sys.argv[3]
size_mb = float(sys.argv[4]) if len(sys.argv) > 4 else 100.0
files = 300
shutil.rmtree(work, ignore_errors=True)
tree = os.path.join(work, "tree")
rng = random.Random(4)
words = [b"orvo", b"client", b"match", b"player", b"score", b"round", b"server", b"map", b"\r\n"]
per_file = int(size_mb * 1024 * 1024 / files)
total = 0
for i in range(files):
    folder = os.path.join(tree, "d%02d" % (i % 12))
    os.makedirs(folder, exist_ok=True)
    n = max(1, int(per_file * rng.uniform(0.5, 1.5)))
    if i % 2:
        data = os.urandom(n)
    else:
        chunk = b" ".join(rng.choice(words) for _ in range(4096))
        data = (chunk * (n // len(chunk) + 1))[:n]
    with open(os.path.join(folder, "f%03d.%s" % (i, "bin" if i % 2 else "txt")), "wb") as f:
        f.write(data)
    total += n

archive = os.path.join(work, "bench.7z")
subprocess.run(["7zz", "a", "-bd", "-bso0", archive, "."], cwd=tree, check=True)
mb = total / 1e6

# Best of a few runs on each side: the machine may be busy with other work.
repeat = int(os.environ.get("ORVO_BENCH_REPEAT", 3))
native = float("inf")
best = None
for _ in range(repeat):
    shutil.rmtree(os.path.join(work, "out-7zz"), ignore_errors=True)
    start = time.perf_counter()
    subprocess.run(["7zz", "x", "-bd", "-bso0", "-y", "-o" + os.path.join(work, "out-7zz"), archive], check=True)
    native = min(native, time.perf_counter() - start)

    out = os.path.join(work, "out-reader")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    result = subprocess.run([wine_run, bench, archive, out], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("setup_bench failed: " + result.stderr + result.stdout)
    line = [l for l in result.stdout.splitlines() if l.startswith("open_seconds=")][0]
    figures = dict(kv.split("=") for kv in line.split())
    note = [l[5:] for l in result.stdout.splitlines() if l.startswith("note ")][0]
    if int(figures["bytes"]) != total:
        sys.exit("the reader wrote %s bytes, the tree holds %d" % (figures["bytes"], total))
    seconds = float(figures["open_seconds"]) + float(figures["write_seconds"])
    if best is None or seconds < float(best["open_seconds"]) + float(best["write_seconds"]):
        best = figures
figures = best
opened, written = float(figures["open_seconds"]), float(figures["write_seconds"])
peak, start = float(figures["peak_mb"]), float(figures["start_mb"])
print("reader under Wine; %s" % note)
print("tree: %d files, %.1f MB unpacked, archive %.1f MB (best of %d runs)"
      % (files, mb, os.path.getsize(archive) / 1e6, repeat))
print("7zz x (native):        %7.2f s  %8.1f MB/s" % (native, mb / native))
print("reader open (decode):  %7.2f s  %8.1f MB/s" % (opened, mb / opened))
print("reader open + write:   %7.2f s  %8.1f MB/s" % (opened + written, mb / (opened + written)))
print("reader peak memory:    %7.1f MB  (%.2f x the unpacked size; %.2f x without the %.1f MB the process held "
      "before reading the archive)" % (peak, peak / mb, (peak - start) / mb, start))
print("ratio reader/7zz (time, open + write): %.2f" % ((opened + written) / native))
shutil.rmtree(work, ignore_errors=True)
