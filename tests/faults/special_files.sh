#!/usr/bin/env bash
# rkstage and special files: inputs are read only when regular (a FIFO or device is refused
# at once, never waited on or read for ever), outputs replace only regular files, an output
# that is the input is refused, modes and read-only files are respected, links are written
# through. Arguments: rkstage path, tests folder, project root.
set -u
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
root=$3
# A time limit on every run: a blocked read fails instead of hanging.
rkstage_limit=20

cp "$root/res/sample/sample.JPG" "$root/res/sample/sample.stage" "$work/"
stage=$work/sample.stage

# --- Inputs that are not regular files ---
mkfifo "$work/fifo.stage"
rkstage_run dump "$work/fifo.stage"
check "a FIFO as the stage: exit 1" test $status -eq 1
check "  saying it is a FIFO" grep -q 'fifo.stage: a FIFO, not a regular file' "$work/err"
rkstage_run dump /dev/zero
check "/dev/zero as the stage: exit 1" test $status -eq 1
check "  saying it is a device" grep -q 'a character device, not a regular file' "$work/err"
truncate -s 64M "$work/limit.stage"
rkstage_run dump "$work/limit.stage"
check "a stage file of exactly 64 MiB is read" test $status -eq 0
truncate -s $((64 * 1024 * 1024 + 1)) "$work/huge.stage"
rkstage_run dump "$work/huge.stage"
check "one byte more is refused: exit 1" test $status -eq 1
check "  saying it is too large" grep -q 'larger than the 64 MiB allowed' "$work/err"
# A FIFO named by graphic1: the picture cannot be opened, the stage still is.
mkdir "$work/pic"
mkfifo "$work/pic/pipe.JPG"
printf 'graphic1=pipe.JPG&' >"$work/pic/p.stage"
rkstage_run dump "$work/pic/p.stage"
check "a FIFO as the picture: the stage still opens" test $status -eq 0
check "  with the picture message" grep -qx 'ファイルをオープンできません。' "$work/err"
check "  and the reason" grep -q 'pipe.JPG: a FIFO, not a regular file' "$work/err"
rkstage_run decode "$work/pic/pipe.JPG" "$work/pipe.bmp"
check "decode of a FIFO: exit 1, nothing written" test $status -eq 1 -a ! -e "$work/pipe.bmp"

# --- An output that is the input ---
before=$(sha256sum <"$stage")
ln -s sample.stage "$work/link.stage"
ln "$stage" "$work/hard.stage"
for out in "$stage" "$work/link.stage" "$work/hard.stage" "$work/./sample.stage"; do
    for cmd in html render resave; do
        rkstage_run $cmd "$stage" "$out"
        check "$cmd onto its input as ${out#"$work"/}: exit 2" test $status -eq 2
    done
done
rkstage_run decode "$work/sample.JPG" "$work/sample.JPG"
check "decode onto its input: exit 2" test $status -eq 2
check "the input is unchanged" test "$(sha256sum <"$stage")" = "$before"
check "the link is still a link" test -L "$work/link.stage"
check "the picture is unchanged" cmp -s "$work/sample.JPG" "$root/res/sample/sample.JPG"

# --- Outputs that are not regular files ---
mkfifo "$work/out.fifo"
rkstage_run html "$stage" "$work/out.fifo"
check "a FIFO as the output: exit 1" test $status -eq 1
check "  it is still a FIFO" test -p "$work/out.fifo"
check "  saying why" grep -q 'a FIFO, not a regular file' "$work/err"
mkdir "$work/out.dir"
rkstage_run render "$stage" "$work/out.dir"
check "a folder as the output: exit 1, still a folder" test $status -eq 1 -a -d "$work/out.dir"
ln -s out.fifo "$work/fifo.link"
rkstage_run resave "$stage" "$work/fifo.link"
check "a link to a FIFO as the output: exit 1" test $status -eq 1 -a -p "$work/out.fifo"
if [ "$(id -u)" -eq 0 ]; then
    # A private copy of /dev/null: were it replaced, only this copy would be lost.
    mknod "$work/null" c 1 3
    rkstage_run html "$stage" "$work/null"
    check "a device as the output: exit 1, still a device" test $status -eq 1 -a -c "$work/null"
else
    echo "skip a device as the output: making a device node needs root"
fi
check "no temporary file left" test -z "$(find "$work" -name '*.rkstage-*')"

# --- Modes, read-only files, links ---
echo old >"$work/private.html"
chmod 600 "$work/private.html"
rkstage_run html "$stage" "$work/private.html"
check "writing over a 0600 file: exit 0" test $status -eq 0
check "  it keeps mode 600" test "$(stat -c %a "$work/private.html")" = 600
check "  and holds the page" grep -q 'rk.swf' "$work/private.html"
echo old >"$work/shared.png"
chmod 664 "$work/shared.png"
rkstage_run render "$stage" "$work/shared.png"
check "writing over a 0664 file keeps mode 664" test "$(stat -c %a "$work/shared.png")" = 664
(umask 027 && timeout 20 "$rkstage" resave "$stage" "$work/new.stage" 2>/dev/null)
check "a new file gets 0666 less the umask (027)" test "$(stat -c %a "$work/new.stage")" = 640
echo keep >"$work/readonly.html"
chmod 444 "$work/readonly.html"
rkstage_run html "$stage" "$work/readonly.html"
check "a read-only file (mode 444) is refused, also for root: exit 1" test $status -eq 1
check "  it is unchanged" test "$(cat "$work/readonly.html")" = keep
check "  saying it is read-only" grep -q 'read-only' "$work/err"
mkdir "$work/target"
echo old >"$work/target/page.html"
chmod 640 "$work/target/page.html"
ln -s target/page.html "$work/page.link"
rkstage_run html "$stage" "$work/page.link"
check "a link as the output: exit 0" test $status -eq 0
check "  the link stays a link" test -L "$work/page.link"
check "  its target holds the page" grep -q 'rk.swf' "$work/target/page.html"
check "  and keeps its mode" test "$(stat -c %a "$work/target/page.html")" = 640
check "  nothing left beside the target" test "$(ls "$work/target")" = page.html
ln -s target/later.html "$work/dangling.link"
rkstage_run html "$stage" "$work/dangling.link"
check "a link to a file not there yet creates the target" \
    test $status -eq 0 -a -L "$work/dangling.link" -a -f "$work/target/later.html"
ln -s readonly.html "$work/ro.link"
rkstage_run html "$stage" "$work/ro.link"
check "a link to a read-only file is refused" test $status -eq 1 -a "$(cat "$work/readonly.html")" = keep

# --- Texts ---
rkstage_run html "$stage" "$work/t.html" --title "$(printf 'ab\xffcd')"
check "invalid UTF-8 in --title: exit 1" test $status -eq 1
check "  said to be invalid UTF-8" grep -q -- '--title: the text is not valid UTF-8' "$work/err"
rkstage_run html "$stage" "$work/t.html" --title '😀'
check "  a character Shift-JIS lacks is still said to be one" grep -q 'Shift-JIS' "$work/err"
# A stage file whose own name holds "\" finds its picture beside it.
cp "$stage" "$work/back\\slash.stage"
rkstage_run dump "$work/back\\slash.stage"
check "a stage named with a backslash finds its picture" test $status -eq 0 -a ! -s "$work/err"

finish
