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

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, "..", "lib")]
import swfmaker  # noqa: E402
import xdisplay  # noqa: E402
from playcheck import (Lines, check, expected_report, failures, finish,  # noqa: E402
                       need_chromium, report_of, ruffle_beside, skip_or_fail)

RKEDIT, ROOT = sys.argv[1], sys.argv[2]
SAMPLE_DIR = os.path.join(ROOT, "res", "sample")
BROWSER_SECONDS = 150  # Ruffle compiles its WebAssembly on a software GPU: slow when loaded


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
        display_env, why = xdisplay.start(work, "1280x900", procs)
        if not check(display_env is not None, why or "the display and its window manager"):
            return
        env = dict(display_env, HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_DATA_HOME=os.path.join(work, "data"), TMPDIR=work,
                   PATH=bin_dir + os.pathsep + os.environ["PATH"], LANG="C.UTF-8")
        env.pop("QT_QPA_PLATFORM", None)

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
            xdisplay.stop(proc)
        if failures:
            print("--- editor's stderr:\n" + "\n".join(log if "log" in locals() else []))


def main():
    ruffle_beside(RKEDIT)
    for tool in ("Xvfb", "openbox", "xdotool", "xprop"):
        if not shutil.which(tool):
            skip_or_fail("%s is not installed; scripts/deps.sh installs it" % tool)
    need_chromium()
    with tempfile.TemporaryDirectory(prefix="rkedit-editor-play-test-") as work:
        run(work)
    finish()


if __name__ == "__main__":
    main()
