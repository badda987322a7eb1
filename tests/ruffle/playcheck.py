"""What the two Ruffle end-to-end tests share: counted checks, skipping outside CI, the
values a stage record holds and the report the test movie sends back."""
import os
import queue
import re
import shutil
import sys
import threading
import time
import urllib.parse

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def skip_or_fail(why):
    """A missing tool skips the test (77) on a developer's machine and fails it in CI."""
    if os.environ.get("CI") == "true":
        print("FAIL " + why)
        sys.exit(1)
    print("SKIP " + why)
    sys.exit(77)


def ruffle_beside(program):
    """The Ruffle folder the build put beside `program`; skips (or fails in CI) without it."""
    ruffle_dir = os.path.normpath(os.path.join(os.path.dirname(program), "..", "share", "rkedit",
                                               "ruffle"))
    if not os.path.exists(os.path.join(ruffle_dir, "ruffle.js")):
        skip_or_fail("Ruffle is not in the build (%s): run scripts/deps.sh, then build" %
                     ruffle_dir)
    return ruffle_dir


def need_chromium():
    if not (shutil.which("chromium") or shutil.which("chromium-browser")):
        skip_or_fail("chromium is not installed; scripts/test.sh installs it")


def finish():
    print("%d failed" % len(failures))
    sys.exit(1 if failures else 0)


def record_values(path):
    """The key=value pairs of a stage file's first line, as bytes."""
    with open(path, "rb") as f:
        line = f.read().split(b"\r")[0].split(b"\n")[0]
    return dict(p.split(b"=", 1) for p in line.split(b"&") if b"=" in p)


def expected_report(stage_path):
    """What the test movie reports once it has loaded this stage."""
    values = record_values(stage_path)
    return {"bg": values[b"bgcolorGame"].decode(), "blocklen": str(len(values[b"block"]))}


def report_of(target):
    """The query of a report.txt request target as a dict, else None."""
    parts = urllib.parse.urlsplit(target)
    if not parts.path.endswith("/report.txt"):
        return None
    return {k: v[0] for k, v in urllib.parse.parse_qs(parts.query).items()}


class Lines:
    """The lines a process writes to one pipe, read in the background."""

    def __init__(self, pipe, copy):
        self.queue = queue.Queue()
        self.copy = copy
        threading.Thread(target=self._read, args=(pipe,), daemon=True).start()

    def _read(self, pipe):
        for raw in iter(pipe.readline, b""):
            line = raw.decode("utf-8", "replace").rstrip("\n")
            self.copy.append(line)
            self.queue.put(line)

    def wait_for(self, pattern, seconds):
        deadline = time.monotonic() + seconds
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            try:
                line = self.queue.get(timeout=left)
            except queue.Empty:
                return None
            m = re.match(pattern, line)
            if m:
                return m
