#!/usr/bin/env bash
# Start-up measurement: `rkedit --quit-after-first-paint` ends by itself, every time, after
# the paint of the stage window at its fitted size (what scripts/startup-time.sh times), with
# a window manager and (startupbare) on a bare X server as under xvfb-run. A stage whose
# picture is missing ends too, with the message on stderr instead of a box nobody answers.
source "$(dirname "$0")/lib.sh"

journey_start "${STARTUP_JOURNEY_NAME:-startup}"
sample=$TESTS/../res/sample/sample.stage
fitted=640x630 # the sample's 640x480 picture and its 150-pixel paddle area

for run in 1 2 3 4 5; do
    err=$work/run$run.err
    timeout "$WAIT_LIMIT" "$RKEDIT" --quit-after-first-paint "$sample" 2>"$err"
    status=$?
    check "run $run ends by itself with status 0 (status $status)" [ "$status" = 0 ]
    check "run $run quits after the paint of the fitted $fitted window" \
        grep -q "quit after a paint of $fitted\$" "$err"
done

# The start-up trace names every step once, in the order the editor takes them, each no
# earlier than the one before (the times scripts/startup-time.sh reports with STEPS=1).
QT_LOGGING_RULES=rkedit.startup.debug=true timeout "$WAIT_LIMIT" "$RKEDIT" \
    --quit-after-first-paint "$sample" 2>"$work/steps.err"
status=$?
check "a traced run ends with status 0 (status $status)" [ "$status" = 0 ]
sed -n 's/^rkedit\.startup: \(.*\): \([0-9.]*\) ms (at [0-9]* us)$/\1|\2/p' "$work/steps.err" \
    >"$work/steps.txt"
printf '%s\n' "main" "application made" "translations installed" "main window built" \
    "recovery copies looked at" "stage opened" "main window shown" \
    "first paint of the fitted stage window" "event loop ended" "windows and stages closed" \
    >"$work/steps.expected"
cut -d'|' -f1 "$work/steps.txt" >"$work/steps.names"
check "the trace names the steps in order" diff "$work/steps.expected" "$work/steps.names"
check "each step comes no earlier than the one before" \
    awk -F'|' 'NR > 1 && $2 + 0 < last + 0 { exit 1 } { last = $2 }' "$work/steps.txt"
QT_LOGGING_RULES= timeout "$WAIT_LIMIT" "$RKEDIT" --quit-after-first-paint "$sample" \
    2>"$work/quiet.err"
check "without the logging rule nothing is traced" \
    bash -c '! grep -q "rkedit\.startup" "$1"' _ "$work/quiet.err"

cp "$sample" "$work/nopicture.stage" # the picture stays behind
timeout "$WAIT_LIMIT" "$RKEDIT" --quit-after-first-paint "$work/nopicture.stage" 2>"$work/nopicture.err"
status=$?
check "a stage without its picture ends too (status $status)" [ "$status" = 0 ]
check "and says why on stderr" grep -q "sample.JPG" "$work/nopicture.err"
journey_end
