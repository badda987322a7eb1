"""An X display of a test's own: Xvfb on a display number it picks itself and, unless asked
not to, a window manager (openbox) on it. Every process started here is one the test stops,
by its own handle (stop), never by name."""
import os
import signal
import subprocess
import time


def stop(proc, sig=signal.SIGTERM, group=False):
    """Ends `proc` (its whole process group with `group`) with `sig`, then kills it after 20 s."""
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


def until(condition, seconds=20):
    """True once `condition()` is; False when `seconds` pass first."""
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.05)
    return True


def start(work, size, procs, window_manager=True):
    """Starts the display (WIDTHxHEIGHT, 24 bits) and its window manager, appending each
    process to `procs` for the caller to stop. Returns (environment with DISPLAY, None) once
    the display takes clients and the window manager manages windows, else (None, why) with
    the server's log in `why`."""
    log_path = os.path.join(work, "xvfb.log")
    read_fd, write_fd = os.pipe()
    # -displayfd: the server writes the display number it took once it accepts connections,
    # so parallel servers never race for one. -noreset: without it the server resets when its
    # last client leaves (the xprop probe below), and a window manager connecting just then
    # is dropped and exits.
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", size + "x24",
                             "-nolisten", "tcp", "-noreset"], pass_fds=[write_fd],
                            stderr=open(log_path, "wb"))
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

    def why(what):
        return "%s (Xvfb %s): %s" % (what, xvfb.poll(), open(log_path, errors="replace").read())

    if not display.isdigit():
        return None, why("Xvfb did not start")
    env = dict(os.environ, DISPLAY=":" + display)

    def wm_check():
        return subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env,
                              capture_output=True, text=True)

    if not until(lambda: wm_check().returncode == 0):
        return None, why("the display :%s takes no clients" % display)
    if window_manager:
        wm_log = os.path.join(work, "openbox.log")
        # Its settings and caches in the test's own folder, never the user's.
        wm_env = dict(env, HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"),
                      XDG_CACHE_HOME=os.path.join(work, "cache"),
                      XDG_DATA_HOME=os.path.join(work, "data"))
        openbox = subprocess.Popen(["openbox", "--sm-disable"], env=wm_env,
                                   stdout=subprocess.DEVNULL, stderr=open(wm_log, "wb"))
        procs.append(openbox)
        # The window manager announces itself on the root window once it manages windows.
        if not until(lambda: "window id" in wm_check().stdout):
            return None, "the window manager did not start (openbox %s): %s" % (
                openbox.poll(), open(wm_log, errors="replace").read())
    return env, None
