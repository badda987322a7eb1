#!/usr/bin/env bash
# Measures the editor's start-up against a bare Qt program, in one run: the whole process,
# from exec to the paint of the stage window at its fitted size on the sample stage (rkedit
# quits there by its --quit-after-first-paint switch and says so on stderr; a run that does
# not is an error), and the same for build/bench/rkbareqt (bench/startup/bareqt.cpp: a main
# window with an MDI area, a menu bar, a status bar and one 640 x 630 sub-window, quitting
# after its first paint). The two programs take turns, so a busy moment weighs on both.
# Prints every run, both medians in milliseconds and their ratio. With OTHER (another rkedit,
# for instance one built from an earlier commit) that one takes its turns too, and its median
# and ratios are printed. Needs a display (or: xvfb-run -a ...).
# Usage: scripts/startup-time.sh [runs] [stage file] [build folder] [OTHER]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-11}
stage=${2:-res/sample/sample.stage}
build=${3:-build}
rkedit=$build/shell/rkedit
bare=$build/bench/rkbareqt
other=${4:-}
for program in "$rkedit" "$bare"; do
    [[ -x $program ]] || { echo "startup-time: $program is not built" >&2; exit 1; }
done

# timed OUTVAR EXPECT COMMAND...: the command's wall time in ms; its stderr must say EXPECT.
timed() {
    local -n out=$1
    local expect=$2
    shift 2
    local start end err
    start=$(date +%s%N)
    err=$("$@" 2>&1 >/dev/null)
    end=$(date +%s%N)
    if ! grep -q "$expect" <<<"$err"; then
        echo "startup-time: $1 did not quit after its first paint:" >&2
        echo "$err" >&2
        exit 1
    fi
    out=$(((end - start) / 1000000))
}

median() { printf '%s\n' "$@" | sort -n | sed -n "$(($# / 2 + 1))p"; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

editor=()
baseline=()
others=()
for _ in $(seq "$runs"); do
    timed t "quit after a paint of" "$rkedit" --quit-after-first-paint "$stage"
    editor+=("$t")
    timed t "quit after a paint" "$bare"
    baseline+=("$t")
    if [[ -n $other ]]; then
        timed t "quit after a paint of" "$other" --quit-after-first-paint "$stage"
        others+=("$t")
    fi
done
echo "rkedit runs (ms): ${editor[*]}"
echo "bare Qt runs (ms): ${baseline[*]}"
e=$(median "${editor[@]}")
b=$(median "${baseline[@]}")
echo "median: rkedit $e ms, bare Qt $b ms, ratio $(ratio "$e" "$b") (goal <= 1.2)"
if [[ -n $other ]]; then
    echo "other rkedit runs (ms): ${others[*]}"
    o=$(median "${others[@]}")
    echo "median: other $o ms, ratio to bare Qt $(ratio "$o" "$b"), rkedit / other $(ratio "$e" "$o")"
fi
