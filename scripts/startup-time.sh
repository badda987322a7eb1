#!/usr/bin/env bash
# Measures the editor's start-up: the whole process, from exec to the paint of the stage
# window at its fitted size on the sample stage (rkedit quits there by its
# --quit-after-first-paint switch and says so on stderr; a run that does not is an error).
# Prints every run and the median in milliseconds. Needs a display (or: xvfb-run -a ...).
# Usage: scripts/startup-time.sh [runs] [stage file]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-11}
stage=${2:-res/sample/sample.stage}
times=()
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    err=$(build/shell/rkedit --quit-after-first-paint "$stage" 2>&1 >/dev/null)
    end=$(date +%s%N)
    if ! grep -q "quit after a paint of" <<<"$err"; then
        echo "startup-time: rkedit did not quit after painting the stage window:" >&2
        echo "$err" >&2
        exit 1
    fi
    times+=($(((end - start) / 1000000)))
done
echo "runs (ms): ${times[*]}"
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "median: ${sorted[$((runs / 2))]} ms"
