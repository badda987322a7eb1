#!/usr/bin/env bash
# Measures test play: the time from pressing F5 in the editor to the play server's first
# request (the browser asking for the page). The editor runs on the sample stage with a test
# movie beside it; the "browser" is headless Chromium, which the editor starts as it starts any
# browser (through xdg-open, here a stand-in found first on PATH). Each run starts the editor afresh and prints the time the editor
# logs ("first request N ms after the command"); then the median.
# Needs a display with a window manager (or: xvfb-run -a scripts/testplay-time.sh), Chromium,
# xdotool, and Ruffle in build/share/rkedit/ruffle (scripts/deps.sh, then the build).
# With TESTPLAY_BROWSER=fetch the "browser" is a plain request sent by bash at once: the
# editor's own share of the time.
# Usage: scripts/testplay-time.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=${1:-5}
chromium=$(command -v chromium || command -v chromium-browser) || {
    echo "testplay-time: chromium is not installed" >&2
    exit 1
}
[ -n "${DISPLAY:-}" ] || {
    echo "testplay-time: no display (try: xvfb-run -a $0)" >&2
    exit 1
}

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    [ -f "$work/browser.pid" ] && kill -TERM "$(cat "$work/browser.pid")" 2>/dev/null || true
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

cp res/sample/sample.stage res/sample/sample.JPG "$work/"
python3 tests/ruffle/swfmaker.py 6 >"$work/rk.swf"
# The browser the editor opens, in the background, its PID kept for cleanup: headless
# Chromium, or a plain request from bash itself.
mkdir "$work/bin"
if [ "${TESTPLAY_BROWSER:-chromium}" = fetch ]; then
    cat >"$work/bin/fetch" <<'SCRIPT'
#!/usr/bin/env bash
rest=${1#http://}
hostport=${rest%%/*}
exec 3<>"/dev/tcp/${hostport%:*}/${hostport#*:}"
printf 'GET /%s HTTP/1.0\r\nHost: %s\r\n\r\n' "${rest#*/}" "$hostport" >&3
cat <&3 >/dev/null
SCRIPT
    chmod +x "$work/bin/fetch"
    browser="$work/bin/fetch"
else
    browser="$chromium --headless --no-sandbox --autoplay-policy=no-user-gesture-required"
    browser+=" --enable-unsafe-swiftshader --no-first-run --user-data-dir=$work/chromium"
fi
cat >"$work/bin/xdg-open" <<SCRIPT
#!/bin/sh
$browser "\$1" >/dev/null 2>&1 &
echo \$! >"$work/browser.pid"
SCRIPT
chmod +x "$work/bin/xdg-open"

# openbox gives the editor's window focus, so the key reaches it.
if command -v openbox >/dev/null && ! xdotool getactivewindow >/dev/null 2>&1; then
    openbox >/dev/null 2>&1 &
    pids+=($!)
fi

times=()
for _ in $(seq "$runs"); do
    : >"$work/editor.log"
    HOME=$work XDG_CONFIG_HOME=$work/config PATH=$work/bin:$PATH TMPDIR=$work \
        "$root/build/shell/rkedit" --recovery=discard "$work/sample.stage" 2>"$work/editor.log" &
    editor=$!
    pids+=("$editor")
    window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$editor" --name rkedit | head -1)
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    xdotool key F5
    ms=
    for _ in $(seq 300); do
        ms=$(sed -n 's/^rkedit: test play: first request \([0-9]*\) ms.*/\1/p' "$work/editor.log")
        [ -n "$ms" ] && break
        sleep 0.1
    done
    [ -n "$ms" ] || {
        echo "testplay-time: no request within 30 s; the editor said:" >&2
        cat "$work/editor.log" >&2
        exit 1
    }
    times+=("$ms")
    kill -TERM "$(cat "$work/browser.pid")" 2>/dev/null || true
    # Closed as a user closes it, so that it removes its test play folder.
    xdotool key alt+F4
    timeout 10 tail --pid="$editor" -f /dev/null || kill -TERM "$editor"
    wait "$editor" 2>/dev/null || true
    unset 'pids[-1]'
done
echo "runs (ms): ${times[*]}"
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "median: ${sorted[$((runs / 2))]} ms"
