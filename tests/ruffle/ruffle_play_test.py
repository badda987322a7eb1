#!/usr/bin/env python3
"""Ruffle end to end: an exported page with --ruffle and rkstage play, each loaded by headless
Chromium, play a test movie that reports the stage values it loaded; the page keeps the plain
export's lines; rkstage html --ruffle copies Ruffle once and never overwrites another folder;
the play server refuses what it must, listens on loopback only and leaves nothing behind.

Usage: ruffle_play_test.py RKSTAGE PROJECT_ROOT
Exits 77 (skipped) when Ruffle or Chromium is missing outside CI.
"""
import http.client
import http.server
import os
import queue
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import swfmaker  # noqa: E402
from playcheck import (Lines, check, expected_report, finish, need_chromium,  # noqa: E402
                       report_of, ruffle_beside)

RKSTAGE, ROOT = sys.argv[1], sys.argv[2]
SAMPLE = os.path.join(ROOT, "res", "sample", "sample.stage")
BROWSER_SECONDS = 150  # Ruffle compiles its WebAssembly on a software GPU: slow when loaded


class Browser:
    """Headless Chromium on one URL, in real time, until stopped."""

    def __init__(self, url, work):
        exe = shutil.which("chromium") or shutil.which("chromium-browser")
        self.profile = tempfile.mkdtemp(dir=work, prefix="profile-")
        self.log = open(os.path.join(work, "chromium.log"), "ab")
        self.proc = subprocess.Popen(
            [exe, "--headless", "--no-sandbox", "--autoplay-policy=no-user-gesture-required",
             "--enable-unsafe-swiftshader", "--no-first-run", "--disable-sync",
             "--disable-background-networking", "--disable-component-update",
             "--user-data-dir=" + self.profile, "--window-size=800,600", url],
            stdout=self.log, stderr=self.log, start_new_session=True)

    def stop(self):
        try:
            os.killpg(self.proc.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        try:
            self.proc.wait(timeout=20)
        except subprocess.TimeoutExpired:
            os.killpg(self.proc.pid, signal.SIGKILL)
            self.proc.wait()
        self.log.close()


# ---------------------------------------------------------------- (a) a --ruffle export
class SiteHandler(http.server.SimpleHTTPRequestHandler):
    reports = None  # a queue, set per server

    def do_GET(self):
        report = report_of(self.path)
        if report is not None:
            self.send_response(200)
            self.send_header("Content-Length", "0")
            self.end_headers()
            self.reports.put(report)
            return
        super().do_GET()

    def guess_type(self, path):
        if path.endswith(".wasm"):
            return "application/wasm"
        return super().guess_type(path)

    def log_message(self, *args):
        pass


def export_plays(work, movie):
    site = os.path.join(work, "site")
    os.makedirs(site)
    shutil.copy(SAMPLE, os.path.join(site, "stage1.txt"))
    shutil.copy(os.path.join(ROOT, "res", "sample", "sample.JPG"), site)
    with open(os.path.join(site, "rk.swf"), "wb") as f:
        f.write(movie)
    run = subprocess.run([RKSTAGE, "html", os.path.join(site, "stage1.txt"),
                          os.path.join(site, "index.html"), "--ruffle", "--cnf", "stage1.txt"],
                         capture_output=True, text=True)
    if not check(run.returncode == 0, "export --ruffle for the browser: " + run.stderr.strip()):
        return
    reports = queue.Queue()
    handler = type("Handler", (SiteHandler,), {"reports": reports})
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), lambda *a: handler(*a, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    browser = Browser("http://127.0.0.1:%d/index.html" % server.server_address[1], work)
    try:
        report = reports.get(timeout=BROWSER_SECONDS)
    except queue.Empty:
        report = None
    finally:
        browser.stop()
        server.shutdown()
    want = expected_report(SAMPLE)
    check(report == want, "exported page played: the movie reported %s (want %s)" % (report, want))


# ---------------------------------------------------------------- (b) rkstage play
class Play:
    """rkstage play in the background; its request log read line by line."""

    def __init__(self, stage, movie_path, *extra):
        self.proc = subprocess.Popen([RKSTAGE, "play", stage, "--swf", movie_path, *extra],
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.url = self.proc.stdout.readline().decode().strip()
        self.stderr = []
        self.lines = Lines(self.proc.stderr, self.stderr)
        parts = urllib.parse.urlsplit(self.url)
        self.port = parts.port
        self.secret = parts.path.split("/")[1] if parts.path.count("/") >= 2 else ""

    @property
    def folder(self):
        """The folder rkstage play said it serves, once it has said so."""
        for line in self.stderr:
            m = re.match(r"rkstage: serving (.*) until interrupted$", line)
            if m:
                return m.group(1)
        return None

    def wait_for(self, pattern, seconds):
        return self.lines.wait_for(pattern, seconds)

    def request(self, method, target, host=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=20)
        conn.putrequest(method, target, skip_host=True, skip_accept_encoding=True)
        conn.putheader("Host", host if host is not None else "127.0.0.1:%d" % self.port)
        conn.endheaders()
        resp = conn.getresponse()
        body = resp.read()
        conn.close()
        return resp.status, dict((k.lower(), v) for k, v in resp.getheaders()), body

    def stop(self, sig=signal.SIGTERM):
        self.proc.send_signal(sig)
        try:
            return self.proc.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
            return None


def play_plays(work, movie_path):
    before = open(SAMPLE, "rb").read(), os.stat(SAMPLE).st_mtime_ns
    play = Play(SAMPLE, movie_path)
    if not check(play.url.startswith("http://127.0.0.1:") and play.url.endswith("/index.html"),
                 "rkstage play printed the page's address first: %r" % play.url):
        play.stop()
        return
    browser = Browser(play.url, work)
    try:
        m = play.wait_for(r"rkstage: \d+ GET (/\S*report\.txt\?\S*)$", BROWSER_SECONDS)
    finally:
        browser.stop()
    report = report_of(m.group(1)) if m else None
    want = expected_report(SAMPLE)
    check(report == want, "rkstage play played: the movie reported %s (want %s)" % (report, want))
    check(play.stop() == 0, "rkstage play exits 0 on SIGTERM")
    check(play.folder and not os.path.exists(play.folder),
          "the temporary folder %s is gone after SIGTERM" % play.folder)
    check((open(SAMPLE, "rb").read(), os.stat(SAMPLE).st_mtime_ns) == before,
          "the stage file is untouched by test play")


def server_rules(work, movie_path):
    play = Play(SAMPLE, movie_path)
    s = "/" + play.secret
    check(len(play.secret) >= 32 and re.fullmatch(r"[0-9a-f]+", play.secret) is not None,
          "the random path segment has at least 128 bits: %s" % play.secret)
    if play.folder is None:
        play.wait_for(r"rkstage: serving", 10)
    outside = os.path.join(work, "outside.txt")
    with open(outside, "w") as f:
        f.write("secret")
    os.symlink(outside, os.path.join(play.folder, "link.txt"))
    os.symlink(os.path.join(play.folder, "rk.swf"), os.path.join(play.folder, "inside.swf"))

    ok_types = [
        ("/index.html", "text/html"), ("/rk.swf", "application/x-shockwave-flash"),
        ("/sample.stage", "text/plain"), ("/sample.JPG", "image/jpeg"),
        ("/ruffle/ruffle.js", "text/javascript"),
    ]
    wasm = [n for n in os.listdir(os.path.join(play.folder, "ruffle")) if n.endswith(".wasm")]
    ok_types += [("/ruffle/" + n, "application/wasm") for n in wasm]
    for path, kind in ok_types:
        status, headers, body = play.request("GET", s + path)
        check(status == 200 and headers.get("content-type", "").startswith(kind)
              and headers.get("cache-control") == "no-store"
              and body == open(play.folder + path, "rb").read(),
              "GET %s: %d %s, Cache-Control %s" % (path, status, headers.get("content-type"),
                                                   headers.get("cache-control")))
    status, headers, body = play.request("HEAD", s + "/rk.swf")
    check(status == 200 and body == b"" and
          headers.get("content-length") == str(os.path.getsize(play.folder + "/rk.swf")),
          "HEAD: 200, the file's length, no body")
    status, _, _ = play.request("GET", s + "/inside.swf")
    check(status == 200, "a link to a file inside the folder is served: %d" % status)

    refused = [
        ("GET", s + "/../" + play.secret + "/index.html", None, 404, "../ that stays inside"),
        ("GET", s + "/../../../../etc/passwd", None, 404, "../ out of the folder"),
        ("GET", s + "/%2e%2e/%2e%2e/%2e%2e/etc/passwd", None, 404, "%2e%2e"),
        ("GET", s + "/%2E%2E%2f%2E%2E%2fetc%2fpasswd", None, 404, "%2E%2E with %2f"),
        ("GET", s + "/ruffle/..%2f..%2f..%2fetc%2fpasswd", None, 404, "..%2f"),
        ("GET", s + "/", None, 404, "the folder itself"),
        ("GET", s + "/ruffle", None, 404, "a folder"),
        ("GET", s + "/ruffle/", None, 404, "a folder with /"),
        ("GET", s + "/missing.txt", None, 404, "a missing file"),
        ("GET", s + "/link.txt", None, 404, "a link out of the folder"),
        ("GET", "/index.html", None, 404, "a path without the random segment"),
        ("GET", "/" + play.secret[:-1] + ("0" if play.secret[-1] != "0" else "1") + "/index.html",
         None, 404, "another random segment"),
        ("GET", s, None, 404, "the random segment alone"),
        ("GET", s + "/index.html", "evil.example:%d" % play.port, 403, "a foreign Host"),
        ("GET", s + "/index.html", "127.0.0.1:%d" % (play.port ^ 1), 403, "another port"),
        ("GET", s + "/index.html", "", 403, "an empty Host"),
        ("POST", s + "/index.html", None, 405, "POST"),
        ("PUT", s + "/index.html", None, 405, "PUT"),
    ]
    for method, target, host, want, what in refused:
        status, headers, body = play.request(method, target, host)
        check(status == want and b"secret" not in body and b"root:" not in body,
              "%s refused: %s %s -> %d (want %d)" % (what, method, target, status, want))
    status, _, _ = play.request("GET", s + "/index.html", "localhost:%d" % play.port)
    check(status == 200, "Host localhost:PORT is accepted: %d" % status)

    # Listening on loopback only: the kernel's table of listening sockets.
    port_hex = "%04X" % play.port
    listeners = []
    for table in ("/proc/net/tcp", "/proc/net/tcp6"):
        if os.path.exists(table):
            for row in open(table).read().splitlines()[1:]:
                fields = row.split()
                local, state = fields[1], fields[3]
                if state == "0A" and local.endswith(":" + port_hex):
                    listeners.append(local)
    check(listeners == ["0100007F:" + port_hex],
          "listens on 127.0.0.1 only: %s" % listeners)

    check(play.stop(signal.SIGINT) == 0, "rkstage play exits 0 on SIGINT")
    check(not os.path.exists(play.folder), "the temporary folder is gone after SIGINT")


def play_usage_and_warning(work):
    swf5 = os.path.join(work, "rk5.swf")
    with open(swf5, "wb") as f:
        f.write(swfmaker.make_movie(version=5))
    play = Play(SAMPLE, swf5)  # the sample's title is Japanese
    m = play.wait_for(r"rkstage: warning: .*rk5\.swf: .*日本語", 20)
    check(m is not None, "SWF 5 movie with Japanese stage text: play warns")
    play.stop()
    taken = subprocess.run([RKSTAGE, "play", SAMPLE, "--swf", swf5, "--port", "70000"],
                           capture_output=True, text=True)
    check(taken.returncode == 2 and "--port" in taken.stderr, "bad --port: usage, exit 2")
    taken = subprocess.run([RKSTAGE, "play", SAMPLE], capture_output=True, text=True)
    check(taken.returncode == 2, "play without --swf: exit 2")
    taken = subprocess.run([RKSTAGE, "play", SAMPLE, "--swf", os.path.join(work, "none.swf")],
                           capture_output=True, text=True)
    check(taken.returncode == 1 and "none.swf" in taken.stderr, "missing movie: exit 1, named")
    # A port already taken is reported, not a crash.
    first = Play(SAMPLE, swf5)
    second = subprocess.run([RKSTAGE, "play", SAMPLE, "--swf", swf5, "--port", str(first.port)],
                            capture_output=True, text=True)
    check(second.returncode == 1 and str(first.port) in second.stderr,
          "a port in use: exit 1: " + second.stderr.strip().splitlines()[-1])
    first.stop()


# ---------------------------------------------------------------- rkstage html --ruffle
def html_ruffle(work, ruffle_dir):
    site = os.path.join(work, "html")
    os.makedirs(site)
    plain, page = os.path.join(site, "plain.html"), os.path.join(site, "index.html")
    subprocess.run([RKSTAGE, "html", SAMPLE, plain], check=True)
    run = subprocess.run([RKSTAGE, "html", SAMPLE, page, "--ruffle"], capture_output=True)
    check(run.returncode == 0, "html --ruffle: exit %d" % run.returncode)
    a = open(plain, "rb").read().split(b"\r\n")
    b = open(page, "rb").read().split(b"\r\n")
    obj = next(i for i, line in enumerate(a) if line.startswith(b"<OBJECT "))
    check(b[:obj] + b[obj + 2:] == a and len(b) == len(a) + 2
          and b[obj + 1] == b'<script src="ruffle/ruffle.js"></script>'
          and b[obj].startswith(b"<script>window.RufflePlayer"),
          "the plain page's lines all stand in order, two Ruffle lines before OBJECT")
    copy = os.path.join(site, "ruffle")
    want = sorted(os.listdir(ruffle_dir))
    same = sorted(os.listdir(copy)) == want and all(
        open(os.path.join(copy, n), "rb").read() == open(os.path.join(ruffle_dir, n), "rb").read()
        for n in want)
    check(same and not any(n.endswith(".map") for n in want)
          and {"LICENSE_MIT", "LICENSE_APACHE", "ruffle.js"} <= set(want),
          "ruffle/ beside the page: the build's Ruffle with its licences, no source maps")
    with open(os.path.join(copy, "marker"), "w") as f:
        f.write("x")
    run = subprocess.run([RKSTAGE, "html", SAMPLE, page, "--ruffle"], capture_output=True)
    check(run.returncode == 0 and os.path.exists(os.path.join(copy, "marker")),
          "the same version is left as it is")

    # Another Ruffle version: refused, nothing written; replaced when asked.
    pkg = os.path.join(copy, "package.json")
    with open(pkg, "w") as f:
        f.write('{"name":"@ruffle-rs/ruffle","version":"0.0.1"}')
    os.remove(page)
    run = subprocess.run([RKSTAGE, "html", SAMPLE, page, "--ruffle"], capture_output=True,
                         text=True)
    check(run.returncode == 1 and "0.0.1" in run.stderr and "--replace-ruffle" in run.stderr
          and not os.path.exists(page) and os.path.exists(os.path.join(copy, "marker")),
          "another version: exit 1, page not written: " + run.stderr.strip())
    run = subprocess.run([RKSTAGE, "html", SAMPLE, page, "--ruffle", "--replace-ruffle"],
                         capture_output=True, text=True)
    check(run.returncode == 0 and os.path.exists(page)
          and sorted(os.listdir(copy)) == want, "--replace-ruffle replaces it")
    # Something else named ruffle: never touched.
    shutil.rmtree(copy)
    with open(copy, "w") as f:
        f.write("mine")
    os.remove(page)
    run = subprocess.run([RKSTAGE, "html", SAMPLE, page, "--ruffle", "--replace-ruffle"],
                         capture_output=True, text=True)
    check(run.returncode == 1 and open(copy).read() == "mine" and not os.path.exists(page),
          "a file named ruffle: exit 1, left as it is: " + run.stderr.strip())
    os.remove(copy)
    leftovers = sorted(set(os.listdir(site)) - {"plain.html"})
    check(leftovers == [], "nothing else left in the page's folder: %s" % leftovers)

    # The text warning: SWF 5 beside the page and a Japanese title; none for SWF 6.
    for version, warns in ((5, True), (6, False)):
        with open(os.path.join(site, "rk.swf"), "wb") as f:
            f.write(swfmaker.make_movie(version=version))
        run = subprocess.run([RKSTAGE, "html", SAMPLE, page, "--ruffle"], capture_output=True,
                             text=True)
        check(run.returncode == 0 and ("warning" in run.stderr) == warns,
              "SWF %d beside the page: warning %s" % (version, "shown" if warns else "absent"))

    # Without Ruffle: the place looked at is named, nothing written.
    env = dict(os.environ, RKEDIT_RUFFLE_DIR=os.path.join(work, "no-ruffle"))
    os.remove(page)
    run = subprocess.run([RKSTAGE, "html", SAMPLE, page, "--ruffle"], capture_output=True,
                         text=True, env=env)
    check(run.returncode == 1 and "no-ruffle" in run.stderr and not os.path.exists(page),
          "Ruffle missing: exit 1 naming where it looked: " + run.stderr.strip())


def main():
    ruffle_dir = ruffle_beside(RKSTAGE)
    need_chromium()
    with tempfile.TemporaryDirectory(prefix="rkedit-ruffle-test-") as work:
        movie = swfmaker.make_movie(version=6)
        movie_path = os.path.join(work, "rk.swf")
        with open(movie_path, "wb") as f:
            f.write(movie)
        html_ruffle(work, ruffle_dir)
        server_rules(work, movie_path)
        play_usage_and_warning(work)
        export_plays(work, movie)
        play_plays(work, movie_path)
    finish()


if __name__ == "__main__":
    main()
