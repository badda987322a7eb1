#!/usr/bin/env python3
"""The test-play server under hostile loopback clients (rkstage play, no browser): bodies are
never read, the request line and the headers are bounded, files are streamed, open
connections are capped, an idle connection is closed, "Connection: close" is honoured, an
absolute-form request line meets the same Host check, and a movie above the size limit is
refused before anything is copied. Prints the server's peak memory (VmHWM) for each case.

Usage: server_limits_test.py RKSTAGE PROJECT_ROOT
Exits 77 (skipped) when Ruffle is missing outside CI.
"""
import os
import re
import select
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import swfmaker  # noqa: E402
from playcheck import Lines, check, finish, skip_or_fail  # noqa: E402

RKSTAGE, ROOT = sys.argv[1], sys.argv[2]
SAMPLE = os.path.join(ROOT, "res", "sample", "sample.stage")
IDLE_MS = 1000  # the idle limit the server is started with here
MiB = 1 << 20


class Play:
    def __init__(self, movie, env=None):
        self.proc = subprocess.Popen([RKSTAGE, "play", SAMPLE, "--swf", movie],
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
        self.url = self.proc.stdout.readline().decode().strip()
        self.stderr = []
        self.lines = Lines(self.proc.stderr, self.stderr)
        m = re.match(r"http://127\.0\.0\.1:(\d+)/([0-9a-f]+)/", self.url)
        self.port, self.secret = (int(m.group(1)), m.group(2)) if m else (0, "")

    def hwm_kib(self):
        for line in open("/proc/%d/status" % self.proc.pid):
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
        return -1

    def folder(self):
        m = self.lines.wait_for(r"rkstage: serving (.*) until interrupted$", 20)
        return m.group(1) if m else None

    def connect(self):
        s = socket.create_connection(("127.0.0.1", self.port), timeout=20)
        return s

    def head(self, path):
        return ("GET /%s/%s HTTP/1.1\r\nHost: 127.0.0.1:%d\r\n" % (self.secret, path, self.port))

    def stop(self):
        self.proc.terminate()
        try:
            return self.proc.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            return self.proc.wait()


def read_response(sock, seconds=20):
    """The status and headers of one response, and whatever of the body arrived with them."""
    sock.settimeout(seconds)
    data = b""
    while b"\r\n\r\n" not in data:
        try:
            chunk = sock.recv(65536)
        except (ConnectionResetError, socket.timeout):
            break
        if not chunk:
            break
        data += chunk
    head, _, rest = data.partition(b"\r\n\r\n")
    lines = head.split(b"\r\n")
    m = re.match(rb"HTTP/1\.[01] (\d{3})", lines[0]) if lines and lines[0] else None
    headers = {}
    for line in lines[1:]:
        k, _, v = line.partition(b":")
        headers[k.strip().lower().decode()] = v.strip().decode()
    return (int(m.group(1)) if m else 0), headers, rest


def closed_within(sock, seconds):
    """Whether the server closes `sock` within `seconds` (what it sends meanwhile is read)."""
    deadline = time.monotonic() + seconds
    while True:
        left = deadline - time.monotonic()
        if left <= 0:
            return False
        ready, _, _ = select.select([sock], [], [], left)
        if ready:
            try:
                if not sock.recv(65536):
                    return True
            except ConnectionResetError:
                return True


def send_until_refused(sock, head, total, chunk=MiB):
    """Sends `head` then up to `total` bytes of filler; stops once the server stops taking them."""
    sock.settimeout(5)
    try:
        sock.sendall(head)
        sent = 0
        block = b"a" * chunk
        while sent < total:
            sock.sendall(block)
            sent += chunk
    except (BrokenPipeError, ConnectionResetError, socket.timeout):
        pass


def body_and_header_limits(play, figures):
    # A 400 MB body after a foreign Host: answered without reading it.
    s = play.connect()
    send_until_refused(s, b"POST /%s/index.html HTTP/1.1\r\nHost: evil.example\r\n"
                       b"Content-Length: %d\r\n\r\n" % (play.secret.encode(), 400 * MiB), 400 * MiB)
    status, _, _ = read_response(s, 5)
    s.close()
    figures.append(("400 MB request body", play.hwm_kib()))
    check(status in (0, 403, 405), "a 400 MB body is answered without being read: %d" % status)

    # A body on GET is never read either; the connection is closed after the answer.
    s = play.connect()
    s.sendall((play.head("index.html") + "Content-Length: 5\r\n\r\nhello").encode())
    status, headers, _ = read_response(s)
    check(status == 200 and headers.get("connection") == "close" and closed_within(s, 5),
          "GET with a body: served, then closed (%d, Connection %s)" %
          (status, headers.get("connection")))
    s.close()

    # A 300 MB header line, and a request line past the limit.
    s = play.connect()
    send_until_refused(s, play.head("index.html").encode() + b"X-Long: ", 300 * MiB)
    status, _, _ = read_response(s, 5)
    s.close()
    figures.append(("300 MB header line", play.hwm_kib()))
    check(status in (0, 431), "a 300 MB header line is refused: %d" % status)
    s = play.connect()
    s.sendall(("GET /%s/%s HTTP/1.1\r\n" % (play.secret, "a" * 20000)).encode())
    status, _, _ = read_response(s)
    check(status == 414 and closed_within(s, 5), "a 20,000-byte request line: %d, closed" % status)
    s.close()
    s = play.connect()
    s.sendall((play.head("index.html") + "X-Many: 1\r\n" * 500 + "\r\n").encode())
    status, _, _ = read_response(s)
    check(status == 431, "500 header lines: %d" % status)
    s.close()


def wasm_streams(play, folder, figures):
    wasm = sorted(n for n in os.listdir(os.path.join(folder, "ruffle")) if n.endswith(".wasm"))
    size = os.path.getsize(os.path.join(folder, "ruffle", wasm[0]))
    before = play.hwm_kib()
    # Many clients asking for the 14 MB module without reading it.
    socks = []
    for _ in range(200):
        try:
            s = play.connect()
            s.sendall((play.head("ruffle/" + wasm[0]) + "\r\n").encode())
            socks.append(s)
        except OSError:
            break
    # Let the server do what it will with them: wait until it has written what it can.
    time.sleep(0)
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        select.select([], [], [], 0.2)
    peak = play.hwm_kib()
    figures.append(("200 unread GETs of a %d-byte .wasm" % size, peak))
    check(peak - before < 256 * 1024,
          "200 unread downloads add %d KiB to the peak (limit 256 MiB)" % (peak - before))
    for s in socks:
        s.close()
    # The whole file still arrives when read.
    s = play.connect()
    s.sendall((play.head("ruffle/" + wasm[0]) + "Connection: close\r\n\r\n").encode())
    status, headers, body = read_response(s)
    s.settimeout(20)
    while True:
        chunk = s.recv(1 << 20)
        if not chunk:
            break
        body += chunk
    s.close()
    check(status == 200 and len(body) == size and
          body == open(os.path.join(folder, "ruffle", wasm[0]), "rb").read(),
          "a streamed .wasm arrives whole (%d of %d bytes)" % (len(body), size))


def connection_rules(play):
    # Connection: close is honoured.
    s = play.connect()
    s.sendall((play.head("index.html") + "Connection: close\r\n\r\n").encode())
    status, headers, _ = read_response(s)
    check(status == 200 and headers.get("connection") == "close" and closed_within(s, 5),
          "Connection: close is honoured")
    s.close()
    # Keep-alive by default: two requests on one connection.
    s = play.connect()
    s.sendall((play.head("index.html") + "\r\n").encode())
    first, headers, body = read_response(s)
    length = int(headers.get("content-length", "0"))
    while len(body) < length:
        body += s.recv(65536)
    s.sendall((play.head("index.html") + "\r\n").encode())
    second, _, _ = read_response(s)
    check(first == 200 and second == 200, "two requests on one connection: %d %d" % (first, second))
    s.close()
    # A half-sent request is closed after the idle limit.
    s = play.connect()
    s.sendall(b"GET /" + play.secret.encode() + b"/index.html HTTP/1.1\r\nHost: 127.")
    started = time.monotonic()
    closed = closed_within(s, 10)
    took = time.monotonic() - started
    check(closed and IDLE_MS / 1000 * 0.8 < took < IDLE_MS / 1000 + 4,
          "a half-sent request is closed after the idle limit (%.1f s)" % took)
    s.close()
    # Absolute-form request lines: the authority is held to the same check as Host.
    for authority, want in (("evil.example:%d" % play.port, 403),
                            ("127.0.0.1:%d" % play.port, 200)):
        s = play.connect()
        s.sendall(("GET http://%s/%s/index.html HTTP/1.1\r\nHost: 127.0.0.1:%d\r\n\r\n" %
                   (authority, play.secret, play.port)).encode())
        status, _, _ = read_response(s)
        check(status == want, "absolute form naming %s: %d (want %d)" % (authority, status, want))
        s.close()
    # A cap on open connections: past it a connection is closed at once; once they go,
    # new ones are served again.
    socks = [play.connect() for _ in range(80)]
    last = socks[-1]
    check(closed_within(last, 5), "the 80th open connection is closed at once")
    for s in socks:
        s.close()
    deadline = time.monotonic() + 10
    status = 0
    while time.monotonic() < deadline and status != 200:
        s = play.connect()
        s.sendall((play.head("index.html") + "Connection: close\r\n\r\n").encode())
        status, _, _ = read_response(s, 2)
        s.close()
    check(status == 200, "served again once the connections are gone: %d" % status)


def big_movie(work, env):
    movie = os.path.join(work, "big.swf")
    with open(movie, "wb") as f:
        f.write(swfmaker.make_movie(version=6))
        f.truncate(3 << 30)  # 3 GiB, sparse
    started = time.monotonic()
    run = subprocess.run([RKSTAGE, "play", SAMPLE, "--swf", movie], capture_output=True,
                         text=True, env=env, timeout=120)
    took = time.monotonic() - started
    check(run.returncode == 1 and "big.swf" in run.stderr and "MiB" in run.stderr
          and run.stdout == "" and took < 5,
          "a 3 GiB movie is refused at once (%.1f s): %s" % (took, run.stderr.strip()))


def main():
    ruffle_dir = os.path.normpath(os.path.join(os.path.dirname(RKSTAGE), "..", "share", "rkedit",
                                               "ruffle"))
    if not os.path.exists(os.path.join(ruffle_dir, "ruffle.js")):
        skip_or_fail("Ruffle is not in the build (%s): run scripts/deps.sh, then build" %
                     ruffle_dir)
    env = dict(os.environ, RKEDIT_PLAY_IDLE_MS=str(IDLE_MS))
    figures = []
    with tempfile.TemporaryDirectory(prefix="rkedit-server-test-") as work:
        movie = os.path.join(work, "rk.swf")
        with open(movie, "wb") as f:
            f.write(swfmaker.make_movie(version=6))
        play = Play(movie, env)
        folder = play.folder()
        if not check(play.port and folder, "rkstage play started: %r" % play.url):
            play.stop()
            finish()
        figures.append(("started", play.hwm_kib()))
        try:
            body_and_header_limits(play, figures)
            wasm_streams(play, folder, figures)
            connection_rules(play)
        finally:
            check(play.stop() == 0, "rkstage play exits 0 on SIGTERM")
        big_movie(work, env)
    for what, kib in figures:
        print("VmHWM %8d KiB after %s" % (kib, what))
    finish()


if __name__ == "__main__":
    main()
