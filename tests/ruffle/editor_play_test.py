#!/usr/bin/env python3
"""Test play from the editor, end to end: the real editor on its own X server with a window
manager, F5 pressed as a user presses it, the page opened in headless Chromium (the editor's
xdg-open is a stand-in that starts it), the test movie playing and reporting the stage values
it loaded. The stage file stays untouched; closing the editor removes its test play folder.

Usage: editor_play_test.py RKEDIT PROJECT_ROOT
Exits 77 (skipped) when Ruffle, Chromium or the X tools are missing outside CI.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import swfmaker  # noqa: E402
from playcheck import Lines, check, expected_report, failures, finish, report_of, skip_or_fail  # noqa: E402

RKEDIT, ROOT = sys.argv[1], sys.argv[2]
SAMPLE_DIR = os.path.join(ROOT, "res", "sample")
BROWSER_SECONDS = 150  # Ruffle compiles its WebAssembly on a software GPU: slow when loaded


def stop(proc, sig=signal.SIGTERM, group=False):
    if proc.poll() is not None:
        return
    try:
        os.killpg(proc.pid, sig) if group else proc.send_signal(sig)
    except ProcessLookupError:
        return
    try:
        proc.wait(timeout=20)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, signal.SIGKILL) if group else proc.kill()
        proc.wait()


def run(work):
    stage = os.path.join(work, "stage", "sample.stage")
    os.makedirs(os.path.dirname(stage))
    shutil.copy(os.path.join(SAMPLE_DIR, "sample.stage"), stage)
    shutil.copy(os.path.join(SAMPLE_DIR, "sample.JPG"), os.path.dirname(stage))
    with open(os.path.join(os.path.dirname(stage), "rk.swf"), "wb") as f:
        f.write(swfmaker.make_movie(version=6))
    before = open(stage, "rb").read(), os.stat(stage).st_mtime_ns

    # The editor's browser: headless Chromium on the page it is given, in its own group.
    bin_dir = os.path.join(work, "bin")
    os.makedirs(bin_dir)
    chromium = shutil.which("chromium") or shutil.which("chromium-browser")
    with open(os.path.join(bin_dir, "xdg-open"), "w") as f:
        f.write("#!/bin/sh\n"
                "setsid %s --headless --no-sandbox --autoplay-policy=no-user-gesture-required "
                "--enable-unsafe-swiftshader --no-first-run --disable-sync "
                "--disable-background-networking --disable-component-update "
                "--user-data-dir=%s/profile \"$1\" >>%s/chromium.log 2>&1 &\n"
                "echo $! >%s/browser.pid\n" % (chromium, work, work, work))
    os.chmod(os.path.join(bin_dir, "xdg-open"), 0o755)

    procs = []
    try:
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                                 "1280x900x24", "-nolisten", "tcp"], pass_fds=[write_fd],
                                stderr=open(os.path.join(work, "xvfb.log"), "wb"))
        procs.append(xvfb)
        os.close(write_fd)
        # The number and its newline come in two writes: the pipe stays open for both.
        written = b""
        while not written.endswith(b"\n"):
            chunk = os.read(read_fd, 64)
            if not chunk:
                break
            written += chunk
        os.close(read_fd)
        display = written.decode().strip()
        if not check(display.isdigit(), "Xvfb started"):
            return
        env = dict(os.environ, DISPLAY=":" + display, HOME=work,
                   XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_DATA_HOME=os.path.join(work, "data"), TMPDIR=work,
                   PATH=bin_dir + os.pathsep + os.environ["PATH"], LANG="C.UTF-8")
        env.pop("QT_QPA_PLATFORM", None)

        def until(what, condition):
            deadline = time.monotonic() + 20
            while not condition():
                if time.monotonic() > deadline:
                    return check(False, what)
                time.sleep(0.05)
            return True

        def xprop_root(prop):
            return subprocess.run(["xprop", "-root", prop], env=env, capture_output=True,
                                  text=True)

        # The display accepts clients before anything is started on it.
        if not until("the display :%s accepts clients" % display,
                     lambda: xprop_root("_NET_SUPPORTING_WM_CHECK").returncode == 0):
            print(open(os.path.join(work, "xvfb.log"), errors="replace").read())
            print("Xvfb: %s; xprop: %s" % (xvfb.poll(),
                                           xprop_root("_NET_SUPPORTING_WM_CHECK").stderr))
            return
        wm = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
        procs.append(wm)
        if not until("the window manager started",
                     lambda: "window id" in xprop_root("_NET_SUPPORTING_WM_CHECK").stdout):
            return

        log = []
        editor = subprocess.Popen([RKEDIT, "--recovery=discard", stage], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        procs.append(editor)
        lines = Lines(editor.stderr, log)
        found = subprocess.run(["timeout", "30", "xdotool", "search", "--sync", "--onlyvisible",
                                "--pid", str(editor.pid), "--name", "^rkedit"], env=env,
                               capture_output=True, text=True)
        window = found.stdout.split()[0] if found.stdout.split() else ""
        if not check(window != "", "the editor's main window shows"):
            return
        subprocess.run(["xdotool", "windowactivate", "--sync", window], env=env)
        subprocess.run(["xdotool", "key", "--clearmodifiers", "F5"], env=env)

        served = lines.wait_for(r"rkedit: test play: serving (\S+)$", 30)
        folder = served.group(1) if served else None
        check(folder is not None and folder.startswith(work),
              "F5 started a test play in a temporary folder: %s" % folder)
        m = lines.wait_for(r"rkedit: test play: \d+ GET (/\S*report\.txt\?\S*)$",
                           BROWSER_SECONDS)
        report = report_of(m.group(1)) if m else None
        want = expected_report(stage)
        check(report == want, "the movie played and reported %s (want %s)" % (report, want))
        check((open(stage, "rb").read(), os.stat(stage).st_mtime_ns) == before,
              "the stage file is untouched by test play")

        # Closed as a user closes it: the folder goes with the editor.
        pid_file = os.path.join(work, "browser.pid")
        if os.path.exists(pid_file):
            try:
                os.killpg(int(open(pid_file).read()), signal.SIGTERM)
            except (ProcessLookupError, ValueError):
                pass
        subprocess.run(["xdotool", "windowactivate", "--sync", window], env=env)
        subprocess.run(["xdotool", "key", "--clearmodifiers", "alt+F4"], env=env)
        try:
            code = editor.wait(timeout=30)
        except subprocess.TimeoutExpired:
            code = None
        check(code == 0, "the editor closed normally (exit %s)" % code)
        check(folder is not None and not os.path.exists(folder),
              "the test play folder is gone with the editor")
    finally:
        for proc in reversed(procs):
            stop(proc)
        if failures:
            print("--- editor's stderr:\n" + "\n".join(log if "log" in locals() else []))


def main():
    ruffle_dir = os.path.normpath(os.path.join(os.path.dirname(RKEDIT), "..", "share", "rkedit",
                                               "ruffle"))
    if not os.path.exists(os.path.join(ruffle_dir, "ruffle.js")):
        skip_or_fail("Ruffle is not in the build (%s): run scripts/deps.sh, then build" %
                     ruffle_dir)
    for tool in ("Xvfb", "openbox", "xdotool", "xprop"):
        if not shutil.which(tool):
            skip_or_fail("%s is not installed; scripts/deps.sh installs it" % tool)
    if not (shutil.which("chromium") or shutil.which("chromium-browser")):
        skip_or_fail("chromium is not installed; scripts/test.sh installs it")
    with tempfile.TemporaryDirectory(prefix="rkedit-editor-play-test-") as work:
        run(work)
    finish()


if __name__ == "__main__":
    main()
