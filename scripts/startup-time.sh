#!/usr/bin/env bash
# Measures the editor's start-up against a bare Qt program, in one run: the whole process,
# from exec to the paint of the stage window at its fitted size on the sample stage (rkedit
# quits there by its --quit-after-first-paint switch and says so on stderr; a run that does
# not is an error), and the same for build/bench/rkbareqt (bench/startup/bareqt.cpp: a main
# window with an MDI area, a menu bar, a status bar and one 640 x 630 sub-window, quitting
# after its first paint). The two programs take turns, so a busy moment weighs on both.
# Prints every run, both medians in milliseconds and their ratio, for the whole process and
# up to the end of the paint each program quit after (each prints when that was). With OTHER (another rkedit,
# for instance one built from an earlier commit) that one takes its turns too, and its median
# and ratios are printed. With STEPS=1 in the environment, rkedit's runs also print its
# start-up trace (the rkedit.startup logging category) and the median of each step, in ms from
# the exec, is printed after the rest. Needs a display (or: xvfb-run -a ...).
# Usage: [STEPS=1] scripts/startup-time.sh [runs] [stage file] [build folder] [OTHER]
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

# timed OUTVAR PAINTVAR EXPECT COMMAND...: the command's wall time in ms, and the ms from its
# start to the end of the paint it quit after (the "painted at N us" line it prints: the
# start without the shutdown); its stderr must say EXPECT.
timed() {
    local -n out=$1 painted=$2
    local expect=$3
    shift 3
    local start end err at
    start=$(date +%s%N)
    err=$("$@" 2>&1 >/dev/null)
    end=$(date +%s%N)
    at=$(sed -n 's/.*painted at \([0-9]*\) us.*/\1/p' <<<"$err" | tail -1)
    if ! grep -q "$expect" <<<"$err"; then
        echo "startup-time: $1 did not quit after its first paint:" >&2
        echo "$err" >&2
        exit 1
    fi
    out=$(((end - start) / 1000000))
    # Only rkedit with STEPS=1 prints its steps.
    local step us
    while IFS='|' read -r step us; do
        [[ -v stepTimes[$step] ]] || stepOrder+=("$step")
        stepTimes[$step]+=" $(((us - start / 1000) / 100))"
    done < <(sed -n 's/^rkedit\.startup: \(.*\): [0-9.]* ms (at \([0-9]*\) us)$/\1|\2/p' <<<"$err")
    painted=${at:+$(((at - start / 1000) / 1000))} # none from a build that does not say
    painted=${painted:-0}
}

median() { printf '%s\n' "$@" | sort -n | sed -n "$(($# / 2 + 1))p"; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Every run starts as a first start does, whatever this user's own settings hold: the main
# window takes the screen's available area (as the bare program's does), nothing is restored,
# and no recovery copy of an earlier run is offered. The settings and copies the runs write go
# to a folder of this script's own.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data

declare -A stepTimes=() # a step's times from the exec, in 0.1 ms, one per run
stepOrder=()
editor=() baseline=() others=()
editorPaint=() baselinePaint=() othersPaint=()
for _ in $(seq "$runs"); do
    if [[ ${STEPS:-} == 1 ]]; then
        timed t p "quit after a paint of" env QT_LOGGING_RULES=rkedit.startup.debug=true \
            "$rkedit" --quit-after-first-paint "$stage"
    else
        timed t p "quit after a paint of" "$rkedit" --quit-after-first-paint "$stage"
    fi
    editor+=("$t") editorPaint+=("$p")
    timed t p "quit after a paint" "$bare"
    baseline+=("$t") baselinePaint+=("$p")
    if [[ -n $other ]]; then
        timed t p "quit after a paint of" "$other" --quit-after-first-paint "$stage"
        others+=("$t") othersPaint+=("$p")
    fi
done
report() { # NAME WHOLE... -- TO-PAINT...
    echo "$1 runs (ms): whole process ${2}; to the paint ${3}"
}
report rkedit "${editor[*]}" "${editorPaint[*]}"
report "bare Qt" "${baseline[*]}" "${baselinePaint[*]}"
e=$(median "${editor[@]}") ep=$(median "${editorPaint[@]}")
b=$(median "${baseline[@]}") bp=$(median "${baselinePaint[@]}")
echo "median, whole process: rkedit $e ms, bare Qt $b ms, ratio $(ratio "$e" "$b") (goal <= 1.2)"
echo "median, to the paint: rkedit $ep ms, bare Qt $bp ms, ratio $(ratio "$ep" "$bp")"
if [[ -n $other ]]; then
    report other "${others[*]}" "${othersPaint[*]}"
    o=$(median "${others[@]}") op=$(median "${othersPaint[@]}")
    echo "median, other: whole process $o ms (ratio to bare Qt $(ratio "$o" "$b"), rkedit / other $(ratio "$e" "$o")); to the paint $op ms (ratio to bare Qt $(ratio "$op" "$bp"), rkedit / other $(ratio "$ep" "$op"))"
fi
if [[ ${STEPS:-} == 1 ]]; then
    echo "rkedit's start-up steps, median ms from the exec:"
    for step in "${stepOrder[@]}"; do
        # shellcheck disable=SC2086 # the times are one word each
        m=$(median ${stepTimes[$step]})
        printf '  %6s  %s\n' "$(awk -v m="$m" 'BEGIN { printf "%.1f", m / 10 }')" "$step"
    done
fi
