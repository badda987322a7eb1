#!/usr/bin/env bash
# rkstage on a file that is no stage: a warning line on stderr, otherwise as before (the file
# reads as a new stage), so scripts that relied on that keep working.
# Arguments: rkstage path, tests folder, project root.
set -uo pipefail
rkstage=$1
data=$2/data
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
check() { # description, command...
    local what=$1
    shift
    if ! "$@"; then
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}
warning() { grep -c '^rkstage: warning: .* is not a stage file' "$1"; }

: >"$tmp/empty.stage"
"$rkstage" dump "$tmp/empty.stage" >"$tmp/empty.json" 2>"$tmp/empty.err"
check "an empty file gives no warning" test "$(warning "$tmp/empty.err")" = 0
"$rkstage" dump "$data/stage/full.stage" >/dev/null 2>"$tmp/full.err"
check "a stage gives no warning" test "$(warning "$tmp/full.err")" = 0

printf '\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10' >"$tmp/picture.png"
head -c 4096 /dev/urandom | tr -d '\r\n' >"$tmp/random.bin"
printf 'hello=world&\n' >"$tmp/text.txt"
for f in picture.png random.bin text.txt; do
    "$rkstage" dump "$tmp/$f" >"$tmp/$f.json" 2>"$tmp/$f.err"
    check "$f: dump exits 0 as before" test $? -eq 0
    check "$f: one warning line naming it" grep -qx "rkstage: warning: $tmp/$f is not a stage file; it reads as a new stage" "$tmp/$f.err"
    check "$f: read as a new stage" cmp -s "$tmp/$f.json" "$tmp/empty.json"
    cp "$tmp/$f" "$tmp/$f.before"
    "$rkstage" resave "$tmp/$f" "$tmp/$f.out" 2>"$tmp/$f.err2"
    check "$f: resave exits 0 as before" test $? -eq 0
    check "$f: resave warns too" test "$(warning "$tmp/$f.err2")" = 1
    check "$f: the input is untouched" cmp -s "$tmp/$f" "$tmp/$f.before"
    check "$f: the new record as an empty file gives" cmp -s "$tmp/$f.out" "$data/stage/new.stage"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
