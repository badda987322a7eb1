#!/usr/bin/env bash
# rkstage on a file that is no stage: a warning line on stderr, otherwise as before (the file
# reads as a new stage), so scripts that relied on that keep working.
# Arguments: rkstage path, tests folder, project root.
set -uo pipefail
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
data=$2/data
warning() { grep -c '^rkstage: warning: .* is not a stage file' "$1"; }

: >"$work/empty.stage"
"$rkstage" dump "$work/empty.stage" >"$work/empty.json" 2>"$work/empty.err"
check "an empty file gives no warning" test "$(warning "$work/empty.err")" = 0
"$rkstage" dump "$data/stage/full.stage" >/dev/null 2>"$work/full.err"
check "a stage gives no warning" test "$(warning "$work/full.err")" = 0

printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10' >"$work/picture.png"
head -c 4096 /dev/urandom | tr -d '\r\n' >"$work/random.bin"
printf 'hello=world&\n' >"$work/text.txt"
for f in picture.png random.bin text.txt; do
    "$rkstage" dump "$work/$f" >"$work/$f.json" 2>"$work/$f.err"
    check "$f: dump exits 0 as before" test $? -eq 0
    check "$f: one warning line naming it" grep -qx "rkstage: warning: $work/$f is not a stage file; it reads as a new stage" "$work/$f.err"
    check "$f: read as a new stage" cmp -s "$work/$f.json" "$work/empty.json"
    cp "$work/$f" "$work/$f.before"
    "$rkstage" resave "$work/$f" "$work/$f.out" 2>"$work/$f.err2"
    check "$f: resave exits 0 as before" test $? -eq 0
    check "$f: resave warns too" test "$(warning "$work/$f.err2")" = 1
    check "$f: the input is untouched" cmp -s "$work/$f" "$work/$f.before"
    check "$f: the new record as an empty file gives" cmp -s "$work/$f.out" "$data/stage/new.stage"
done

finish
