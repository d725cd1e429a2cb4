#!/usr/bin/env python3
"""Benchmark of the update engine against curl + md5sum on the same files.

  bench_updater.py BENCH_EXE WINE_RUN WORKDIR [--files N --mb SIZE] [--launcher EXE --client EXE]

For each sample release (300 files of 300 MB and 3,000 files of 30 MB, or the
one given) made in WORKDIR and served on the loopback, prints (a) a full update
against curl fetching every file followed by md5sum, and (b) a run with
nothing to update against md5sum of the installed files, each as a ratio
(engine / baseline), and how this machine ran the engine's 32-bit code (the
engine's benchmark program finds out). With --launcher and --client, also (c)
the whole program: OrvoMain.exe started in an empty install folder until the
client it starts (the stand-in client, which records its start) runs, beside
curl + md5sum of the same files in the same run.
"""
import argparse
import hashlib
import os
import random
import shutil
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import update_server  # noqa: E402


def make_release(root, files, megabytes):
    release = os.path.join(root, "srv", "bench")
    shutil.rmtree(os.path.join(root, "srv"), ignore_errors=True)
    os.makedirs(release)
    rng = random.Random(462)
    total = megabytes * 1024 * 1024
    # A few large files and many small ones, as a game client has.
    weights = [rng.paretovariate(1.2) for _ in range(files)]
    scale = total / sum(weights)
    lines = []
    folders = ["data", "data/maps", "bin", "res"]
    lines += ["%s|0\r\n" % f for f in folders]
    for f in folders:
        os.makedirs(os.path.join(release, f))
    block = rng.randbytes(1 << 20)
    paths = []
    for i, w in enumerate(weights):
        size = max(1, int(w * scale))
        path = "%s/file%04d.bin" % (folders[i % len(folders)], i)
        with open(os.path.join(release, path), "wb") as out:
            left = size
            offset = i * 4099 % len(block)
            while left > 0:
                chunk = block[offset:offset + left] or block[:left]
                out.write(chunk)
                left -= len(chunk)
                offset = 0
        with open(os.path.join(release, path), "rb") as f:
            digest = hashlib.md5(f.read()).hexdigest()
        lines.append("%s|%s\r\n" % (path, digest))
        paths.append(path)
    with open(os.path.join(release, "updater.txt"), "w", newline="") as f:
        f.writelines(lines)
    for name, text in (("notice.txt", "bench"), ("version.txt", "Client.exe:1.0")):
        with open(os.path.join(release, name), "w") as f:
            f.write(text)
    return release, paths


def timed(cmd, **kw):
    start = time.perf_counter()
    subprocess.run(cmd, check=True, **kw)
    return time.perf_counter() - start


def engine_run(args, work, base, install):
    """Seconds of the engine's full update into an empty folder and of its check
    run, and the program's note on how its 32-bit code ran."""
    shutil.rmtree(install, ignore_errors=True)
    os.makedirs(install)
    out = subprocess.run([args.wine_run, args.bench_exe, "--updateUrl", base + "/updater.ini",
                          "--appPath", "Z:" + install.replace("/", "\\")],
                         capture_output=True, text=True, cwd=work)
    figures = dict(line.split()[:2] for line in out.stdout.splitlines() if line.startswith(("full ", "check ")))
    notes = [line[5:] for line in out.stdout.splitlines() if line.startswith("note ")]
    if out.returncode != 0 or len(figures) != 2 or not notes:
        sys.stderr.write(out.stdout[-3000:] + out.stderr[-3000:])
        sys.exit("bench_updater: the engine run failed")
    return float(figures["full"]), float(figures["check"]), notes[0]


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def program_run(args, base, install):
    """Seconds from starting OrvoMain.exe in an empty install folder (holding
    only itself and the client) until the client it starts has recorded its
    start, and the launcher's exit code."""
    shutil.rmtree(install, ignore_errors=True)
    os.makedirs(install)
    shutil.copy(args.launcher, os.path.join(install, "OrvoMain.exe"))
    shutil.copy(args.client, os.path.join(install, "Client.exe"))
    record = os.path.join(install, "client_started.txt")
    start = time.perf_counter()
    proc = subprocess.Popen([args.wine_run, os.path.join(install, "OrvoMain.exe"), "--appPath", wine_path(install),
                             "--updateUrl", base + "/updater.ini"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while not os.path.exists(record):
        if proc.poll() is not None and not os.path.exists(record):
            time.sleep(0.5)
            if not os.path.exists(record):
                sys.exit("bench_updater: the launcher ended (%d) without starting the client" % proc.returncode)
        time.sleep(0.01)
    elapsed = time.perf_counter() - start
    proc.wait(timeout=120)
    return elapsed


def wine_start(args, work):
    """Seconds to start and end the stand-in client alone under Wine: what any
    program pays before its first line runs."""
    folder = os.path.join(work, "alone")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(args.client, os.path.join(folder, "Client.exe"))
    return timed([args.wine_run, os.path.join(folder, "Client.exe")], stdout=subprocess.DEVNULL,
                 stderr=subprocess.DEVNULL)


def serve(work):
    portfile = os.path.join(work, "bench.port")
    if os.path.exists(portfile):
        os.remove(portfile)
    threading.Thread(target=update_server.serve, args=(os.path.join(work, "srv"), portfile), daemon=True).start()
    while not os.path.exists(portfile):
        time.sleep(0.05)
    return int(open(portfile).read().split()[0])


def run_case(args, work, port, files, megabytes):
    release, paths = make_release(work, files, megabytes)
    base = "http://127.0.0.1:%d/bench" % port
    with open(os.path.join(release, "updater.ini"), "w") as f:
        f.write(base)

    # Baselines: curl fetches every file, then md5sum digests them.
    fetched = os.path.join(work, "curl")
    shutil.rmtree(fetched, ignore_errors=True)
    os.makedirs(fetched)
    config = os.path.join(work, "curl.cfg")
    with open(config, "w") as f:
        for name in ("updater.ini", "updater.txt", "notice.txt", "version.txt"):
            f.write('url = "%s/%s"\noutput = "%s/%s"\n' % (base, name, fetched, name))
        for p in paths:
            f.write('url = "%s/%s"\noutput = "%s/%s"\n' % (base, p, fetched, p))
    local = [os.path.join(fetched, p) for p in paths]
    install = os.path.join(work, "inst")
    installed = [os.path.join(install, p) for p in paths]
    # Best of a few runs on each side: the machine may be busy with other work.
    curl = md5 = full = check = md5_installed = program = alone = float("inf")
    for _ in range(args.repeat):
        curl = min(curl, timed(["curl", "-s", "--create-dirs", "-K", config]))
        md5 = min(md5, timed(["md5sum"] + local, stdout=subprocess.DEVNULL))
        engine_full, engine_check, note = engine_run(args, work, base, install)
        full, check = min(full, engine_full), min(check, engine_check)
        for p in paths:
            with open(os.path.join(install, p), "rb") as a, open(os.path.join(release, p), "rb") as b:
                if a.read() != b.read():
                    sys.exit("bench_updater: %s differs after the update" % p)
        md5_installed = min(md5_installed, timed(["md5sum"] + installed, stdout=subprocess.DEVNULL))
        if args.launcher:
            program = min(program, program_run(args, base, install))
            for p in paths:
                with open(os.path.join(install, p), "rb") as a, open(os.path.join(release, p), "rb") as b:
                    if a.read() != b.read():
                        sys.exit("bench_updater: %s differs after the launcher's update" % p)
            alone = min(alone, wine_start(args, work))
    print("sample release: %d files, %d MB (best of %d runs; engine under Wine, %s)"
          % (len(paths), megabytes, args.repeat, note))
    print("(a) full update   engine %.2f s   curl+md5sum %.2f s (%.2f + %.2f)   ratio %.2f"
          % (full, curl + md5, curl, md5, full / (curl + md5)))
    print("(b) nothing to do engine %.2f s   md5sum %.2f s   ratio %.2f" % (check, md5_installed, check / md5_installed))
    if args.launcher:
        print("(c) whole program OrvoMain.exe start to client started %.2f s   curl+md5sum %.2f s   ratio %.2f"
              "   (starting a bare program under Wine here: %.2f s)" % (program, curl + md5, program / (curl + md5), alone))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("bench_exe")
    ap.add_argument("wine_run")
    ap.add_argument("workdir")
    ap.add_argument("--files", type=int, default=int(os.environ.get("ORVO_BENCH_FILES", 0)))
    ap.add_argument("--mb", type=int, default=int(os.environ.get("ORVO_BENCH_MB", 0)))
    ap.add_argument("--launcher", help="OrvoMain.exe, for the whole-program figure")
    ap.add_argument("--client", help="the stand-in client that records its start")
    ap.add_argument("--repeat", type=int, default=int(os.environ.get("ORVO_BENCH_REPEAT", 2)))
    args = ap.parse_args()
    work = os.path.abspath(args.workdir)
    os.makedirs(work, exist_ok=True)
    cases = [(args.files, args.mb)] if args.files and args.mb else [(300, 300), (3000, 30)]
    port = serve(work)
    print("machine: %d cores" % os.cpu_count())
    for files, megabytes in cases:
        run_case(args, work, port, files, megabytes)


if __name__ == "__main__":
    main()
