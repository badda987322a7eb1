# The user-journey library: a real X server (Xvfb) with a window manager (openbox), the real
# editor driven by xdotool, checks on file bytes and screenshot pixels.
#
# A journey script sources this file, calls journey_start, drives the editor and ends with
# journey_end. Every wait has a time limit and the whole journey has one too, so a journey
# fails instead of hanging. Only the processes started here are stopped, by their PIDs.
#
# The editor reports what it shows through RKEDIT_TEST_EVENTS: one line per event appended
# to a file ("paint TITLE", "dialog TITLE | TEXT", "window TITLE", "focus TITLE"), so a
# journey waits for the event it needs instead of sleeping.
#
# Arguments every journey gets from CTest: rkedit path, rkstage path, tests folder, output
# folder (screenshots are kept there for review).

set -uo pipefail
# $work, check (with $checks and $failures), at_exit, need_tools.
. "$(dirname "${BASH_SOURCE[0]}")/../lib/common.sh"

RKEDIT=$1
RKSTAGE=$2
TESTS=$3
OUT=$4
JOURNEY_LIMIT=${JOURNEY_LIMIT:-150} # seconds for the whole journey
WAIT_LIMIT=${WAIT_LIMIT:-20}        # seconds for one wait

own_pids=()
events=$work/events
: >"$events"
mark=0

say() { echo "journey: $*"; }
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

cleanup() {
    local pid
    for pid in "${png_pids[@]}"; do
        wait "$pid" 2>/dev/null
    done
    # Newest first: the editor before the window manager before the X server.
    for ((i = ${#own_pids[@]} - 1; i >= 0; i--)); do
        pid=${own_pids[i]}
        kill -TERM "$pid" 2>/dev/null
    done
    for pid in "${own_pids[@]}"; do
        wait "$pid" 2>/dev/null
    done
    [ -n "${KEEP_EVENTS:-}" ] && cp "$events" "$KEEP_EVENTS"
    [ -n "${watchdog:-}" ] && kill -TERM "$watchdog" 2>/dev/null
}

on_time_limit() {
    echo "FAIL: the journey did not finish within ${JOURNEY_LIMIT} s"
    echo "--- events:"
    cat "$events"
    exit 1
}

# journey_start NAME [WIDTHxHEIGHT]: the X server at that screen size, the window manager
# (unless JOURNEY_WINDOW_MANAGER=none), an own home folder (settings, recovery copies and locks
# stay inside the journey); the screen's size in screen_w and screen_h.
journey_start() {
    local name=$1 size=${2:-1366x768}
    screen_w=${size%x*}
    screen_h=${size#*x}
    shots=$OUT/$name
    rm -rf "$shots"
    mkdir -p "$shots"
    at_exit cleanup
    trap on_time_limit USR1
    local self=$$
    # The watchdog holds no output pipe and takes its sleep with it when stopped: CTest
    # waits for every holder of the journey's output to end.
    (
        trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
        sleep "$JOURNEY_LIMIT" &
        sleeper=$!
        wait "$sleeper" && kill -USR1 "$self"
    ) >/dev/null 2>&1 &
    watchdog=$!

    need_tools Xvfb openbox xdotool xprop import

    # -displayfd: the server picks a free display itself and writes its number once it
    # accepts connections, so parallel servers never race for one.
    mkfifo "$work/displayfd"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$work/displayfd" \
        2>"$work/xvfb.log" &
    own_pids+=($!)
    local display=""
    read -r -t "$WAIT_LIMIT" display <"$work/displayfd" || true
    if [ -z "$display" ]; then
        echo "FAIL: Xvfb did not start"
        cat "$work/xvfb.log"
        exit 1
    fi
    export DISPLAY=:$display

    # JOURNEY_WINDOW_MANAGER=none: a bare X server, as under xvfb-run.
    if [ "${JOURNEY_WINDOW_MANAGER:-openbox}" != none ]; then
        openbox --sm-disable >"$work/openbox.log" 2>&1 &
        own_pids+=($!)
        # The window manager announces itself on the root window once it manages windows.
        until_true "the window manager" wm_running || {
            cat "$work/openbox.log"
            exit 1
        }
    fi

    export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    export LANG=C.UTF-8
    say "$name on $DISPLAY at $size"
}

wm_running() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# until_true WHAT COMMAND...: runs the command every 50 ms until it succeeds, for at most
# WAIT_LIMIT seconds; false (with a message) when the time runs out.
until_true() {
    local what=$1
    shift
    local deadline=$((SECONDS + WAIT_LIMIT))
    until "$@"; do
        if ((SECONDS >= deadline)); then
            echo "FAIL: waited ${WAIT_LIMIT} s for $what"
            failures=$((failures + 1))
            return 1
        fi
        sleep 0.05
    done
}

# start_editor [ARGS...]: the editor in the journey's folder, reporting its events; its PID
# in editor_pid (a second one may be started: each is stopped at the end).
start_editor() {
    mark_events
    RKEDIT_TEST_EVENTS=$events "$RKEDIT" --recovery=discard "$@" >>"$work/editor.log" 2>&1 &
    editor_pid=$!
    own_pids+=($editor_pid)
}

# Events are counted from the last mark: wait_event looks only at lines that came after it.
mark_events() { mark=$(wc -l <"$events"); }

event_after_mark() { # extended regular expression
    # grep reads to the end: with -q it would stop at the first match, and under pipefail the
    # SIGPIPE that tail may then get would turn a match into a failure.
    tail -n +$((mark + 1)) "$events" | grep -E -- "$1" >/dev/null
}

# wait_event REGEX: waits until an event line after the mark matches.
wait_event() {
    until_true "event /$1/" event_after_mark "$1" || {
        echo "--- events since the mark:"
        tail -n +$((mark + 1)) "$events"
        return 1
    }
}

# wait_focus TITLE-REGEX: waits until the keyboard is in that stage window's view (its last
# focus or blur event is a focus; another editor's views write to the same file).
view_has_focus() {
    grep -E "^(focus|blur) $1\$" "$events" | tail -n 1 | grep -q '^focus '
}
wait_focus() {
    until_true "the keyboard in /$1/" view_has_focus "$1"
}

# wait_window NAME-REGEX: the id of the visible window whose title matches, once exactly one
# does (a message box closing under the same title as the main window is waited out; a
# window that vanishes during a search makes that search fail, and the next one is made).
wait_window() {
    local found=""
    one_window() {
        local ids
        ids=$(xdotool search --onlyvisible --name "$1" 2>/dev/null) || return 1
        [ "$(wc -l <<<"$ids")" -eq 1 ] && [ -n "$ids" ] || return 1
        found=$ids
    }
    until_true "one window /$1/" one_window "$1" >&2 && echo "$found"
}

# no_window NAME-REGEX: true when no visible window's title matches.
no_window() {
    ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

# event_field REGEX N: field N (1-based, blank-separated) of the last event line after the
# mark that matches.
event_field() {
    tail -n +$((mark + 1)) "$events" | grep -E -- "$1" | tail -n 1 | awk -v n="$2" '{print $n}'
}

# click_control TITLE NAME: clicks the button NAME ("c1054") of the dialog TITLE where the
# editor reported it.
click_control() {
    local line
    line=$(grep -E "^control $1 $2 " "$events" | tail -n 1)
    [ -n "$line" ] || {
        echo "  no control $2 of $1 reported"
        return 1
    }
    set -- $line
    click_at "${@: -2:1}" "${@: -1}"
}

# view_area TITLE-REGEX: "X Y W H" of the stage view from its last paint after the mark.
view_area() {
    tail -n +$((mark + 1)) "$events" | grep -E -- "^paint $1 @ " | tail -n 1 |
        sed -E 's/.* @ ([0-9-]+) ([0-9-]+) ([0-9]+) ([0-9]+)$/\1 \2 \3 \4/'
}

# Input to the focused window, as a user gives it.
key() { xdotool key --clearmodifiers --delay 30 "$@"; }
type_text() { xdotool type --clearmodifiers --delay 20 -- "$1"; }
click_at() { # X Y on the screen
    xdotool mousemove --sync "$1" "$2" click 1
}
# window_origin ID: "X Y" of the window's client area on the screen.
window_origin() {
    xdotool getwindowgeometry --shell "$1" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}'
}
activate() { xdotool windowactivate --sync "$1"; }

# screenshot NAME: the whole screen as NAME.ppm for pixel checks; a PNG copy for review goes
# to OUT/<journey>/NAME.png in the background.
png_pids=()
screenshot() {
    import -silent -window root -depth 8 "ppm:$work/$1.ppm" || return 1
    convert "$work/$1.ppm" "$shots/$1.png" &
    png_pids+=($!)
}

# pixel NAME X Y: the screenshot's colour there as RRGGBB.
pixel() {
    local ppm=$work/$1.ppm
    local width header
    width=$(head -c 64 "$ppm" | tr '\n' ' ' | awk '{print $2}')
    # The header is "P6 W H 255" with one white space after each field.
    header=$(head -c 64 "$ppm" | awk 'BEGIN{RS="[ \n]"} {n+=length($0)+1; if (++f==4) {print n; exit}}')
    od -An -tx1 -j $((header + ($3 * width + $2) * 3)) -N 3 "$ppm" | tr -d ' \n'
}

# pixel_is NAME X Y RRGGBB
pixel_is() {
    local got
    got=$(pixel "$1" "$2" "$3")
    [ "$got" = "$4" ] || {
        echo "  pixel ($2,$3) of $1 is $got, not $4"
        return 1
    }
}

# count_colour NAME RRGGBB [X Y W H]: how many pixels of the screenshot (or a part) have
# that colour, give or take a few steps (a JPEG's flat colour decodes a step or two off).
count_colour() {
    local crop=()
    [ $# -ge 6 ] && crop=(-crop "${5}x${6}+${3}+${4}" +repage)
    convert "$work/$1.ppm" "${crop[@]}" -fuzz 3% -fill black +opaque "#$2" \
        -fill white -opaque "#$2" -format '%[fx:round(mean*w*h)]' info:
}

# count_light NAME [X Y W H]: how many pixels of the screenshot (or a part) are lighter than
# mid grey: light text on a dark ground, whose antialiased strokes reach their full colour
# in only a few pixels at a small size.
count_light() {
    local crop=()
    [ $# -ge 5 ] && crop=(-crop "${4}x${5}+${2}+${3}" +repage)
    convert "$work/$1.ppm" "${crop[@]}" -colorspace gray -threshold 50% \
        -format '%[fx:round(mean*w*h)]' info:
}

# at_least N COMMAND..., fewer_than N COMMAND...: the number COMMAND prints is N or more, or
# below N.
number_is() { # test operator, its words, N, COMMAND...
    local op=$1 words=$2 want=$3 got
    shift 3
    got=$("$@")
    [ "${got:-0}" "$op" "$want" ] || {
        echo "  $* gave $got, $words $want"
        return 1
    }
}
at_least() { number_is -ge "fewer than" "$@"; }
fewer_than() { number_is -lt "not fewer than" "$@"; }

# journey_end: the verdict; the exit status CTest reads.
journey_end() {
    if ((failures > 0)); then
        echo "--- events:"
        cat "$events"
        echo "--- editor output:"
        cat "$work/editor.log" 2>/dev/null
        echo "journey failed: $failures of $checks checks (screenshots in $shots)"
        exit 1
    fi
    if ((checks == 0)); then
        echo "FAIL: the journey checked nothing"
        exit 1
    fi
    say "all $checks checks passed (screenshots in $shots)"
    exit 0
}
