#!/usr/bin/env python3
"""Scriptable HTTP/1.1 update server for the updater tests.

  update_server.py start ROOT PORTFILE PIDFILE   serve ROOT on two free ports of 127.0.0.1 in the background
  update_server.py stop PIDFILE
  update_server.py serve ROOT PORTFILE           serve in the foreground (benchmarks)

"/<case>/<path>" serves ROOT/<case>/<path>. Every request line is appended to
ROOT/<case>/_requests.log, and the whole request head, as received, to
ROOT/<case>/_heads.log. ROOT/<case>/_behaviour.txt scripts answers, one
rule a line: "<path> <mode> [args...] [times=N]" (the first matching rule that
still has uses wins; "{port}"/"{port2}" in args become the two ports):
  split            head sent in small pieces
  lower | mixed    length header in other letter cases
  nolength         no length header, body, close
  zero             "Content-Length: 0" and no body
  close N          full length announced, N body bytes, close
  stall S          head and a few body bytes, then silence for S seconds (at most 10)
  redirect CODE TARGET | redirect_lc CODE TARGET   (Content-Location comes first)
  noloc CODE       a redirect status with only Content-Location
  status CODE      that status with a short body
  corrupt          the body with its first byte changed
  bighead          a head of about 9 KB
  badlength VALUE  that length header with the real body
  longer N         N extra bytes after the announced body
  trickle          the whole response one byte every 100 ms
  trickle_body     the head at once, then the body one byte every 100 ms
  pace RATE        the head at once, then the body at RATE bytes a second
  pace_joined RATE as pace, the head and the body's first bytes in one send
  pace_gate RATE GATE   as pace until ROOT/<case>/GATE exists, then the rest at once
  drip LENGTH SECS LIMIT   LENGTH announced (no file needed), then one byte every
                   SECS seconds until the client gives up or LIMIT seconds pass
"""
import os
import signal
import socket
import socketserver
import sys
import threading
import time
import urllib.parse

IDLE_LIMIT = 900  # seconds without a request before the server stops itself
ROOT = None
PORTS = [0, 0]
uses = {}
lock = threading.Lock()
last_request = time.time()


def rule_for(case_dir, path):
    table = os.path.join(case_dir, "_behaviour.txt")
    if not os.path.exists(table):
        return None
    # A table written anew starts its use counts again.
    stamp = os.stat(table).st_mtime_ns
    with open(table, encoding="utf-8") as f:
        for number, line in enumerate(f):
            words = line.split()
            if len(words) < 2 or words[0] != path:
                continue
            times = None
            if words[-1].startswith("times="):
                times = int(words[-1][6:])
                words = words[:-1]
            key = (table, stamp, number)
            with lock:
                used = uses.get(key, 0)
                if times is not None and used >= times:
                    continue
                uses[key] = used + 1
            args = [w.replace("{port}", str(PORTS[0])).replace("{port2}", str(PORTS[1])) for w in words[2:]]
            return words[1], args
    return None


class Handler(socketserver.BaseRequestHandler):
    def read_head(self):
        data = b""
        while b"\r\n\r\n" not in data:
            chunk = self.request.recv(4096)
            if not chunk or len(data) > 65536:
                return None
            data += chunk
        return data[:data.index(b"\r\n\r\n") + 4]

    def send(self, data):
        self.request.sendall(data)

    def handle(self):
        global last_request
        last_request = time.time()
        self.request.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        head = self.read_head()
        if not head:
            return
        line = head.split(b"\r\n", 1)[0].decode("latin-1")
        parts = line.split(" ")
        raw = parts[1] if len(parts) > 1 else "/"
        decoded = urllib.parse.unquote(raw.lstrip("/"))
        case, _, rel = decoded.partition("/")
        case_dir = os.path.join(ROOT, case)
        if case and os.path.isdir(case_dir):
            with lock:
                with open(os.path.join(case_dir, "_requests.log"), "a", encoding="utf-8") as log:
                    log.write(line + "\n")
                with open(os.path.join(case_dir, "_heads.log"), "ab") as log:
                    log.write(head)
        file_path = os.path.join(case_dir, rel)
        body = None
        inside = ".." not in rel.replace("\\", "/").split("/")
        if case and rel and inside and os.path.isfile(file_path) and not rel.startswith("_"):
            with open(file_path, "rb") as f:
                body = f.read()
        rule = rule_for(case_dir, rel) if case else None
        self.answer(body, rule, case_dir)

    def head(self, status, headers):
        reason = {200: "OK", 404: "Not Found", 500: "Internal Server Error"}.get(status, "Moved")
        text = "HTTP/1.1 %d %s\r\n" % (status, reason)
        text += "".join("%s: %s\r\n" % h for h in headers) + "Connection: close\r\n\r\n"
        return text.encode("latin-1")

    def answer(self, body, rule, case_dir):
        mode, args = rule if rule else ("plain", [])
        if body is None and mode in ("plain", "split", "lower", "mixed", "nolength", "close", "stall", "corrupt",
                                     "bighead", "badlength", "longer", "trickle", "trickle_body", "pace", "pace_joined",
                                     "pace_gate"):
            self.send(self.head(404, [("Content-Length", "9")]) + b"not found")
            return
        length = [("Content-Length", str(len(body) if body is not None else 0))]
        if mode == "plain":
            self.send(self.head(200, length) + body)
        elif mode == "split":
            data = self.head(200, length)
            for i in range(0, len(data), 7):
                self.send(data[i:i + 7])
                time.sleep(0.01)
            self.send(body)
        elif mode in ("lower", "mixed"):
            name = "content-length" if mode == "lower" else "CONTENT-length"
            self.send(self.head(200, [(name, str(len(body)))]) + body)
        elif mode == "nolength":
            self.send(self.head(200, []) + body)
        elif mode == "zero":
            self.send(self.head(200, [("Content-Length", "0")]))
        elif mode == "close":
            self.send(self.head(200, length) + body[:int(args[0])])
        elif mode == "stall":
            self.send(self.head(200, length) + body[:4])
            time.sleep(min(float(args[0]), 10))
        elif mode in ("redirect", "redirect_lc"):
            name = "Location" if mode == "redirect" else "location"
            headers = [("Content-Location", "/nowhere/at/all"), (name, args[1]), ("Content-Length", "0")]
            self.send(self.head(int(args[0]), headers))
        elif mode == "noloc":
            self.send(self.head(int(args[0]), [("Content-Location", "/nowhere"), ("Content-Length", "0")]))
        elif mode == "status":
            self.send(self.head(int(args[0]), [("Content-Length", "5")]) + b"error")
        elif mode == "corrupt":
            self.send(self.head(200, length) + bytes([body[0] ^ 0xFF]) + body[1:])
        elif mode == "bighead":
            filler = [("X-Filler-%d" % i, "x" * 80) for i in range(110)]
            self.send(self.head(200, filler + length) + body)
        elif mode == "badlength":
            self.send(self.head(200, [("Content-Length", args[0])]) + body)
        elif mode == "longer":
            self.send(self.head(200, length) + body + b"J" * int(args[0]))
        elif mode in ("pace", "pace_joined"):
            step = max(1, int(args[0]) // 20)
            first = 0
            if mode == "pace_joined":
                first = step
                self.send(self.head(200, length) + body[:first])
            else:
                self.send(self.head(200, length))
            try:
                for i in range(first, len(body), step):
                    if i > 0:
                        time.sleep(0.05)
                    self.send(body[i:i + step])
            except OSError:
                pass  # the client gave up
        elif mode == "pace_gate":
            step = max(1, int(args[0]) // 20)
            gate = os.path.join(case_dir, args[1])
            self.send(self.head(200, length))
            try:
                for i in range(0, len(body), step):
                    if os.path.exists(gate):
                        self.send(body[i:])
                        break
                    self.send(body[i:i + step])
                    time.sleep(0.05)
            except OSError:
                pass  # the client gave up
        elif mode == "drip":
            self.send(self.head(200, [("Content-Length", args[0])]))
            end = time.time() + float(args[2])
            try:
                while time.time() < end:
                    time.sleep(float(args[1]))
                    self.send(b"d")
            except OSError:
                pass  # the client gave up
        elif mode in ("trickle", "trickle_body"):
            slow = self.head(200, length) + body
            if mode == "trickle_body":
                self.send(self.head(200, length))
                slow = body
            try:
                for i in range(len(slow)):
                    self.send(slow[i:i + 1])
                    time.sleep(0.1)
            except OSError:
                pass  # the client gave up


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def serve(root, portfile):
    global ROOT
    ROOT = os.path.abspath(root)
    os.makedirs(ROOT, exist_ok=True)
    servers = [Server(("127.0.0.1", 0), Handler) for _ in range(2)]
    for i, s in enumerate(servers):
        PORTS[i] = s.server_address[1]
        threading.Thread(target=s.serve_forever, daemon=True).start()
    with open(portfile + ".new", "w") as f:
        f.write("%d %d\n" % tuple(PORTS))
    os.replace(portfile + ".new", portfile)
    while time.time() - last_request < IDLE_LIMIT:
        time.sleep(1)


def main():
    cmd = sys.argv[1]
    if cmd == "serve":
        serve(sys.argv[2], sys.argv[3])
    elif cmd == "start":
        root, portfile, pidfile = sys.argv[2:5]
        if os.path.exists(portfile):
            os.remove(portfile)
        pid = os.fork()
        if pid == 0:
            os.setsid()
            devnull = os.open(os.devnull, os.O_RDWR)
            for fd in (0, 1, 2):
                os.dup2(devnull, fd)
            serve(root, portfile)
            os._exit(0)
        with open(pidfile, "w") as f:
            f.write(str(pid))
        for _ in range(100):
            if os.path.exists(portfile):
                return 0
            time.sleep(0.1)
        return 1
    elif cmd == "stop":
        try:
            with open(sys.argv[2]) as f:
                os.kill(int(f.read()), signal.SIGTERM)
        except (OSError, ValueError):
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
