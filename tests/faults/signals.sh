#!/usr/bin/env bash
# rkstage stopped by SIGINT or SIGTERM while it writes an output: the temporary file (named
# OUT.rkstage-XXXXXX) is removed, the old output is intact and the process dies of the
# signal. strace holds rkstage at the fsync of its temporary file, so the signal arrives
# exactly while that file exists. Arguments: rkstage path, tests folder, project root.
set -u
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
root=$3
if ! command -v strace >/dev/null; then
    echo "SKIP: strace is not installed (scripts/deps.sh installs it)"
    exit 77
fi
if ! strace -qq -e trace=none true 2>/dev/null; then
    echo "SKIP: this machine does not allow tracing a process (ptrace)"
    exit 77
fi
cp "$root/res/sample/sample.JPG" "$root/res/sample/sample.stage" "$work/"
# Job control: without it a script's background commands start with SIGINT ignored (and
# rkstage, like any tool, leaves an ignored signal ignored).
set -m

for signal in INT TERM; do
    echo "old page" >"$work/page.html"
    # The first fsync (of the temporary file) waits 10 s before it runs; the signal sent in
    # that time is handled when the call returns, before the rename.
    strace -qq -o /dev/null -e trace=fsync -e inject=fsync:delay_enter=10000000:when=1 \
        "$rkstage" html "$work/sample.stage" "$work/page.html" 2>"$work/err" &
    tracer=$!
    # Wait (at most 8 s) for the temporary file to appear.
    temp=
    for ((i = 0; i < 80; i++)); do
        temp=$(find "$work" -maxdepth 1 -name 'page.html.rkstage-*' | head -n 1)
        [ -n "$temp" ] && break
        sleep 0.1
    done
    check "SIG$signal: the temporary file is named page.html.rkstage-XXXXXX" test -n "$temp"
    child=$(pgrep -P $tracer | head -n 1)
    [ -n "$child" ] && kill -s $signal "$child"
    wait $tracer
    status=$?
    check "  the process died of the signal" test $status -eq $((128 + $(kill -l $signal)))
    check "  no temporary file left" test -z "$(find "$work" -name '*.rkstage-*')"
    check "  the old output intact" test "$(cat "$work/page.html")" = "old page"
done

finish
