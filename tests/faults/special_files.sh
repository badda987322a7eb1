#!/usr/bin/env bash
# rkstage and special files: inputs are read only when regular (a FIFO or device is refused
# at once, never waited on or read for ever), outputs replace only regular files, an output
# that is the input is refused, modes and read-only files are respected, links are written
# through. Arguments: rkstage path, tests folder, project root.
set -u
rkstage=$1
root=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
check() { # description, command...
    local what=$1
    shift
    if "$@"; then
        echo "ok   $what"
    else
        echo "FAIL $what"
        failures=$((failures + 1))
    fi
}
# Runs rkstage with a time limit (a blocked read fails instead of hanging); sets $status
# and leaves stderr in $tmp/err.
run() {
    timeout 20 "$rkstage" "$@" 2>"$tmp/err" >"$tmp/out"
    status=$?
}

cp "$root/res/sample/sample.JPG" "$root/res/sample/sample.stage" "$tmp/"
stage=$tmp/sample.stage

# --- Inputs that are not regular files ---
mkfifo "$tmp/fifo.stage"
run dump "$tmp/fifo.stage"
check "a FIFO as the stage: exit 1" test $status -eq 1
check "  saying it is a FIFO" grep -q 'fifo.stage: a FIFO, not a regular file' "$tmp/err"
run dump /dev/zero
check "/dev/zero as the stage: exit 1" test $status -eq 1
check "  saying it is a device" grep -q 'a character device, not a regular file' "$tmp/err"
truncate -s 64M "$tmp/limit.stage"
run dump "$tmp/limit.stage"
check "a stage file of exactly 64 MiB is read" test $status -eq 0
truncate -s $((64 * 1024 * 1024 + 1)) "$tmp/huge.stage"
run dump "$tmp/huge.stage"
check "one byte more is refused: exit 1" test $status -eq 1
check "  saying it is too large" grep -q 'larger than the 64 MiB allowed' "$tmp/err"
# A FIFO named by graphic1: the picture cannot be opened, the stage still is.
mkdir "$tmp/pic"
mkfifo "$tmp/pic/pipe.JPG"
printf 'graphic1=pipe.JPG&' >"$tmp/pic/p.stage"
run dump "$tmp/pic/p.stage"
check "a FIFO as the picture: the stage still opens" test $status -eq 0
check "  with the picture message" grep -qx 'ファイルをオープンできません。' "$tmp/err"
check "  and the reason" grep -q 'pipe.JPG: a FIFO, not a regular file' "$tmp/err"
run decode "$tmp/pic/pipe.JPG" "$tmp/pipe.bmp"
check "decode of a FIFO: exit 1, nothing written" test $status -eq 1 -a ! -e "$tmp/pipe.bmp"

# --- An output that is the input ---
before=$(sha256sum <"$stage")
ln -s sample.stage "$tmp/link.stage"
ln "$stage" "$tmp/hard.stage"
for out in "$stage" "$tmp/link.stage" "$tmp/hard.stage" "$tmp/./sample.stage"; do
    for cmd in html render resave; do
        run $cmd "$stage" "$out"
        check "$cmd onto its input as ${out#"$tmp"/}: exit 2" test $status -eq 2
    done
done
run decode "$tmp/sample.JPG" "$tmp/sample.JPG"
check "decode onto its input: exit 2" test $status -eq 2
check "the input is unchanged" test "$(sha256sum <"$stage")" = "$before"
check "the link is still a link" test -L "$tmp/link.stage"
check "the picture is unchanged" cmp -s "$tmp/sample.JPG" "$root/res/sample/sample.JPG"

# --- Outputs that are not regular files ---
mkfifo "$tmp/out.fifo"
run html "$stage" "$tmp/out.fifo"
check "a FIFO as the output: exit 1" test $status -eq 1
check "  it is still a FIFO" test -p "$tmp/out.fifo"
check "  saying why" grep -q 'a FIFO, not a regular file' "$tmp/err"
mkdir "$tmp/out.dir"
run render "$stage" "$tmp/out.dir"
check "a folder as the output: exit 1, still a folder" test $status -eq 1 -a -d "$tmp/out.dir"
ln -s out.fifo "$tmp/fifo.link"
run resave "$stage" "$tmp/fifo.link"
check "a link to a FIFO as the output: exit 1" test $status -eq 1 -a -p "$tmp/out.fifo"
if [ "$(id -u)" -eq 0 ]; then
    # A private copy of /dev/null: were it replaced, only this copy would be lost.
    mknod "$tmp/null" c 1 3
    run html "$stage" "$tmp/null"
    check "a device as the output: exit 1, still a device" test $status -eq 1 -a -c "$tmp/null"
else
    echo "skip a device as the output: making a device node needs root"
fi
check "no temporary file left" test -z "$(find "$tmp" -name '*.rkstage-*')"

# --- Modes, read-only files, links ---
echo old >"$tmp/private.html"
chmod 600 "$tmp/private.html"
run html "$stage" "$tmp/private.html"
check "writing over a 0600 file: exit 0" test $status -eq 0
check "  it keeps mode 600" test "$(stat -c %a "$tmp/private.html")" = 600
check "  and holds the page" grep -q 'rk.swf' "$tmp/private.html"
echo old >"$tmp/shared.png"
chmod 664 "$tmp/shared.png"
run render "$stage" "$tmp/shared.png"
check "writing over a 0664 file keeps mode 664" test "$(stat -c %a "$tmp/shared.png")" = 664
(umask 027 && timeout 20 "$rkstage" resave "$stage" "$tmp/new.stage" 2>/dev/null)
check "a new file gets 0666 less the umask (027)" test "$(stat -c %a "$tmp/new.stage")" = 640
echo keep >"$tmp/readonly.html"
chmod 444 "$tmp/readonly.html"
run html "$stage" "$tmp/readonly.html"
check "a read-only file (mode 444) is refused, also for root: exit 1" test $status -eq 1
check "  it is unchanged" test "$(cat "$tmp/readonly.html")" = keep
check "  saying it is read-only" grep -q 'read-only' "$tmp/err"
mkdir "$tmp/target"
echo old >"$tmp/target/page.html"
chmod 640 "$tmp/target/page.html"
ln -s target/page.html "$tmp/page.link"
run html "$stage" "$tmp/page.link"
check "a link as the output: exit 0" test $status -eq 0
check "  the link stays a link" test -L "$tmp/page.link"
check "  its target holds the page" grep -q 'rk.swf' "$tmp/target/page.html"
check "  and keeps its mode" test "$(stat -c %a "$tmp/target/page.html")" = 640
check "  nothing left beside the target" test "$(ls "$tmp/target")" = page.html
ln -s target/later.html "$tmp/dangling.link"
run html "$stage" "$tmp/dangling.link"
check "a link to a file not there yet creates the target" \
    test $status -eq 0 -a -L "$tmp/dangling.link" -a -f "$tmp/target/later.html"
ln -s readonly.html "$tmp/ro.link"
run html "$stage" "$tmp/ro.link"
check "a link to a read-only file is refused" test $status -eq 1 -a "$(cat "$tmp/readonly.html")" = keep

# --- Texts ---
run html "$stage" "$tmp/t.html" --title "$(printf 'ab\xffcd')"
check "invalid UTF-8 in --title: exit 1" test $status -eq 1
check "  said to be invalid UTF-8" grep -q -- '--title: the text is not valid UTF-8' "$tmp/err"
run html "$stage" "$tmp/t.html" --title '😀'
check "  a character Shift-JIS lacks is still said to be one" grep -q 'Shift-JIS' "$tmp/err"
# A stage file whose own name holds "\" finds its picture beside it.
cp "$stage" "$tmp/back\\slash.stage"
run dump "$tmp/back\\slash.stage"
check "a stage named with a backslash finds its picture" test $status -eq 0 -a ! -s "$tmp/err"

echo "$failures failed"
[ "$failures" -eq 0 ]
