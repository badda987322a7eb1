#!/usr/bin/env bash
# rkstage resave: byte-exact records, the editor's picture message, and nothing written on
# failure. Arguments: rkstage path, tests directory, project root.
set -u
rkstage=$1
data=$2/data/stage
root=$3
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
message='ファイルをオープンできません。'

# An empty file opens as a new document and saves as the 495-byte record; its picture
# graphic1.JPG is not there, which is reported but does not stop the save.
: >"$tmp/empty.stage"
"$rkstage" resave "$tmp/empty.stage" "$tmp/new.stage" 2>"$tmp/err"
check "empty stage resaves with exit 0" test $? -eq 0
check "new record is byte-exact" cmp -s "$tmp/new.stage" "$data/new.stage"
check "picture message on stderr" grep -qx "$message" "$tmp/err"

# A full record comes back byte for byte, also after further lines are dropped.
"$rkstage" resave "$data/full.stage" "$tmp/full.stage" 2>/dev/null
check "full record resaves byte-exact" cmp -s "$tmp/full.stage" "$data/full.stage"
{ cat "$data/full.stage"; printf '\r\nsecond line&title=ignored\r\n'; } >"$tmp/lines.stage"
"$rkstage" resave "$tmp/lines.stage" "$tmp/lines.out" 2>/dev/null
check "lines after the first are dropped" cmp -s "$tmp/lines.out" "$data/full.stage"

# The picture found beside the stage: no message.
cp "$root/res/sample/sample.JPG" "$root/res/sample/sample.stage" "$tmp/"
"$rkstage" resave "$tmp/sample.stage" "$tmp/sample.out" 2>"$tmp/err"
check "sample resaves with exit 0" test $? -eq 0
check "no message when the picture opens" test ! -s "$tmp/err"
check "sample record unchanged" cmp -s "$tmp/sample.out" "$root/res/sample/sample.stage"

# A missing input: exit 1, one line on stderr, the old output untouched.
echo keep >"$tmp/old.stage"
"$rkstage" resave "$tmp/missing.stage" "$tmp/old.stage" 2>"$tmp/err"
check "missing input exits 1" test $? -eq 1
check "one error line" test "$(wc -l <"$tmp/err")" -eq 1
check "existing output kept" test "$(cat "$tmp/old.stage")" = keep

# An output that cannot be created: exit 1 and no file left behind.
"$rkstage" resave "$data/full.stage" "$tmp/no/such/dir/out.stage" 2>"$tmp/err"
check "unwritable output exits 1" test $? -eq 1
check "nothing created" test ! -e "$tmp/no"
mkdir "$tmp/isdir"
"$rkstage" resave "$data/full.stage" "$tmp/isdir" 2>"$tmp/err"
check "output that is a folder exits 1" test $? -eq 1
check "no temporary file left beside it" test -z "$(ls "$tmp" | grep '^isdir.')"

# A value that cannot be read back is still written, with a warning.
printf 'graphicWidth=15&graphicHeight=12&block=2147483647,&' >"$tmp/wrap.stage"
"$rkstage" resave "$tmp/wrap.stage" "$tmp/wrap.out" 2>"$tmp/err"
check "wrapping cell still saved" grep -q '&block=-1,&' "$tmp/wrap.out"
check "warning names the key" grep -q 'warning.*block' "$tmp/err"

# What reading leaves out is named, one warning line each; the output is written all the same.
printf 'block=1,0,2,&graphicWidth=30&colour=red&title=a,b&\r\nsecond line\r\n' >"$tmp/lossy.stage"
"$rkstage" resave "$tmp/lossy.stage" "$tmp/lossy.out" 2>"$tmp/err"
check "lossy stage still resaves" test $? -eq 0
check "blocks without a cell named" grep -qx 'rkstage: warning: 2 block(s) with no cell .*dropped' "$tmp/err"
check "unknown key named" grep -qx 'rkstage: warning: unknown key "colour" is dropped' "$tmp/err"
check "list under a single value named" grep -qx 'rkstage: warning: the value of "title" .*dropped' "$tmp/err"
check "further line named" grep -qx 'rkstage: warning: 1 line(s) after the first are dropped' "$tmp/err"
check "four warnings" test "$(grep -c '^rkstage: warning:' "$tmp/err")" -eq 4
"$rkstage" resave "$data/full.stage" "$tmp/quiet.out" 2>"$tmp/err"
check "a whole record warns of nothing" test "$(grep -c 'warning' "$tmp/err")" -eq 0

# Bad usage.
"$rkstage" resave "$data/full.stage" 2>/dev/null
check "one argument is bad usage" test $? -eq 2

exit $((failures > 0))
