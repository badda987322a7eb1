#!/usr/bin/env bash
# rkstage's outputs and what it prints: the one output rule (regular files only, never the
# input, no write bit means refused for root too, mode and owner kept, the system's reason),
# temporaries that fit a 250-byte name, a record cut short (resave refuses, dump warns), and
# control bytes of a stage never reaching the terminal as they are.
# Arguments: rkstage path, tests directory, project root.
set -u
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
data=$2/data/stage
root=$3
cp "$root/res/sample/sample.JPG" "$root/res/sample/sample.stage" "$work/"
stage=$work/sample.stage

# A file without a write bit is refused, for root too; nothing changes.
echo old >"$work/ro.stage"
chmod 0444 "$work/ro.stage"
"$rkstage" resave "$stage" "$work/ro.stage" 2>"$work/err"
check "read-only output: exit 1" test $? -eq 1
check "  says read-only, names the file" grep -q "ro.stage: the file is read-only" "$work/err"
check "  untouched, mode 0444" test "$(cat "$work/ro.stage") $(stat -c %a "$work/ro.stage")" = "old 444"

# Mode and owner of an existing output are kept (the owner where the process may set it).
echo old >"$work/kept.html"
chmod 0640 "$work/kept.html"
if [ "$(id -u)" -eq 0 ]; then chown 65534:65534 "$work/kept.html"; fi
before=$(stat -c '%a %u %g' "$work/kept.html")
"$rkstage" html "$stage" "$work/kept.html" 2>/dev/null
check "html over an existing page: exit 0" test $? -eq 0
check "  mode and owner kept ($before)" test "$(stat -c '%a %u %g' "$work/kept.html")" = "$before"
check "  the page written" grep -q '<HTML>' "$work/kept.html"

# The input itself, under another name (a hard link), is never written.
ln "$stage" "$work/hardlink.stage"
"$rkstage" html "$stage" "$work/hardlink.stage" 2>"$work/err"
check "html over a hard link of the input: refused" test $? -ne 0
check "  the stage is untouched" cmp -s "$stage" "$root/res/sample/sample.stage"

# A FIFO output is refused without blocking; the system's reason for a missing folder.
mkfifo "$work/fifo"
timeout 10 "$rkstage" resave "$stage" "$work/fifo" 2>"$work/err"
check "FIFO output: exit 1 at once" test $? -eq 1
check "  says FIFO" grep -q "a FIFO, not a regular file" "$work/err"
check "  still a FIFO" test -p "$work/fifo"
"$rkstage" resave "$stage" "$work/none/out.stage" 2>"$work/err"
check "missing folder: the system's reason" grep -q "No such file or directory" "$work/err"

# A 250-byte name (legal: the limit is 255) saves; its temporary is cut to fit.
long=$(printf 'a%.0s' $(seq 1 244)).stage
"$rkstage" resave "$stage" "$work/$long" 2>"$work/err"
check "a 250-byte name saves" test $? -eq 0
check "  byte-exact" cmp -s "$work/$long" "$root/res/sample/sample.stage"
"$rkstage" resave "$stage" "$work/$long" 2>"$work/err"
check "  and saves again over itself" test $? -eq 0
check "  no temporary left" test "$(ls -A "$work" | grep -c rkstage-)" -eq 0

# Names that are not UTF-8 (bytes as the file system holds them) are read and written as
# they are, in a folder of such a name too.
odd=$(printf 'st\377\376')
mkdir "$work/$odd-folder"
cp "$stage" "$work/$odd-folder/$odd.stage"
"$rkstage" resave "$work/$odd-folder/$odd.stage" "$work/$odd-folder/out$odd.stage" 2>"$work/err"
check "a stage named with bytes that are not UTF-8 resaves" test $? -eq 0
check "  byte-exact under its own name" \
    cmp -s "$work/$odd-folder/out$odd.stage" "$root/res/sample/sample.stage"

# A record cut short: resave refuses (what follows the cut would be lost), dump warns.
head -c 300 "$stage" >"$work/cut.stage"
"$rkstage" resave "$work/cut.stage" "$work/cut.out" 2>"$work/err"
check "resave of a cut-short record: exit 1" test $? -eq 1
check "  warns it is cut short" grep -q 'cut.stage is cut short' "$work/err"
check "  nothing written" test ! -e "$work/cut.out"
"$rkstage" dump "$work/cut.stage" >"$work/cut.json" 2>"$work/err"
check "dump of a cut-short record: exit 0" test $? -eq 0
check "  with the warning" grep -q 'cut.stage is cut short' "$work/err"
check "  and the JSON" grep -q '"version"' "$work/cut.json"
"$rkstage" dump "$data/full.stage" >/dev/null 2>"$work/err"
check "a whole record: no such warning" test "$(grep -c 'cut short' "$work/err")" -eq 0

# Control bytes of a stage (an unknown key holding an escape sequence that would set the
# terminal's title, a picture name with one) are written out, never sent as they are.
esc=$(printf '\033')
printf 'version=RK&x\033]0;owned\007=1&graphic1=p\033[2Jq.JPG&' >"$work/esc.stage"
"$rkstage" resave "$work/esc.stage" "$work/esc.out" 2>"$work/err"
check "escape sequences: resave exit 0" test $? -eq 0
check "  no ESC or BEL on stderr" test "$(tr -dc '\033\007' <"$work/err" | wc -c)" -eq 0
check "  the key named, its bytes spelled out" grep -q 'unknown key "x\\x1b\]0;owned\\x07"' "$work/err"
check "  the picture named, spelled out" grep -q 'p\\x1b\[2Jq.JPG' "$work/err"
check "  the record keeps the picture's bytes" grep -q "graphic1=p${esc}\[2Jq.JPG&" "$work/esc.out"

finish
