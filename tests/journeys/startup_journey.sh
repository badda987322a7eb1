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

cp "$sample" "$work/nopicture.stage" # the picture stays behind
timeout "$WAIT_LIMIT" "$RKEDIT" --quit-after-first-paint "$work/nopicture.stage" 2>"$work/nopicture.err"
status=$?
check "a stage without its picture ends too (status $status)" [ "$status" = 0 ]
check "and says why on stderr" grep -q "sample.JPG" "$work/nopicture.err"
journey_end
