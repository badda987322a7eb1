#!/usr/bin/env bash
# rkstage resave: byte-exact records, the editor's picture message, and nothing written on
# failure. Arguments: rkstage path, tests directory, project root.
set -u
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
data=$2/data/stage
root=$3
message='ファイルをオープンできません。'

# An empty file opens as a new document and saves as the 495-byte record; its picture
# graphic1.JPG is not there, which is reported but does not stop the save.
: >"$work/empty.stage"
"$rkstage" resave "$work/empty.stage" "$work/new.stage" 2>"$work/err"
check "empty stage resaves with exit 0" test $? -eq 0
check "new record is byte-exact" cmp -s "$work/new.stage" "$data/new.stage"
check "picture message on stderr" grep -qx "$message" "$work/err"

# A full record comes back byte for byte, also after further lines are dropped.
"$rkstage" resave "$data/full.stage" "$work/full.stage" 2>/dev/null
check "full record resaves byte-exact" cmp -s "$work/full.stage" "$data/full.stage"
{ cat "$data/full.stage"; printf '\r\nsecond line&title=ignored\r\n'; } >"$work/lines.stage"
"$rkstage" resave "$work/lines.stage" "$work/lines.out" 2>/dev/null
check "lines after the first are dropped" cmp -s "$work/lines.out" "$data/full.stage"

# The picture found beside the stage: no message.
cp "$root/res/sample/sample.JPG" "$root/res/sample/sample.stage" "$work/"
"$rkstage" resave "$work/sample.stage" "$work/sample.out" 2>"$work/err"
check "sample resaves with exit 0" test $? -eq 0
check "no message when the picture opens" test ! -s "$work/err"
check "sample record unchanged" cmp -s "$work/sample.out" "$root/res/sample/sample.stage"

# A missing input: exit 1, one line on stderr, the old output untouched.
echo keep >"$work/old.stage"
"$rkstage" resave "$work/missing.stage" "$work/old.stage" 2>"$work/err"
check "missing input exits 1" test $? -eq 1
check "one error line" test "$(wc -l <"$work/err")" -eq 1
check "existing output kept" test "$(cat "$work/old.stage")" = keep

# An output that cannot be created: exit 1 and no file left behind.
"$rkstage" resave "$data/full.stage" "$work/no/such/dir/out.stage" 2>"$work/err"
check "unwritable output exits 1" test $? -eq 1
check "nothing created" test ! -e "$work/no"
mkdir "$work/isdir"
"$rkstage" resave "$data/full.stage" "$work/isdir" 2>"$work/err"
check "output that is a folder exits 1" test $? -eq 1
check "no temporary file left beside it" test -z "$(ls "$work" | grep '^isdir.')"

# A value that cannot be read back is still written, with a warning.
printf 'graphicWidth=15&graphicHeight=12&block=2147483647,&' >"$work/wrap.stage"
"$rkstage" resave "$work/wrap.stage" "$work/wrap.out" 2>"$work/err"
check "wrapping cell still saved" grep -q '&block=-1,&' "$work/wrap.out"
check "warning names the key" grep -q 'warning.*block' "$work/err"

# What reading leaves out is named, one warning line each; the output is written all the same.
printf 'block=1,0,2,&graphicWidth=30&colour=red&title=a,b&\r\nsecond line\r\n' >"$work/lossy.stage"
"$rkstage" resave "$work/lossy.stage" "$work/lossy.out" 2>"$work/err"
check "lossy stage still resaves" test $? -eq 0
check "blocks without a cell named" grep -qx 'rkstage: warning: 2 block(s) with no cell .*dropped' "$work/err"
check "unknown key named" grep -qx 'rkstage: warning: unknown key "colour" is dropped' "$work/err"
check "list under a single value named" grep -qx 'rkstage: warning: the value of "title" .*dropped' "$work/err"
check "further line named" grep -qx 'rkstage: warning: 1 line(s) after the first are dropped' "$work/err"
check "four warnings" test "$(grep -c '^rkstage: warning:' "$work/err")" -eq 4
"$rkstage" resave "$data/full.stage" "$work/quiet.out" 2>"$work/err"
check "a whole record warns of nothing" test "$(grep -c 'warning' "$work/err")" -eq 0

# Bad usage.
"$rkstage" resave "$data/full.stage" 2>/dev/null
check "one argument is bad usage" test $? -eq 2

finish
