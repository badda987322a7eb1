#!/usr/bin/env bash
# rkstage on a full and on a read-only file system: exit 1 with the system's reason, the old
# output intact, no partial or temporary file left. Uses small tmpfs mounts made inside a
# private mount namespace (unshare -m), so nothing stays mounted after the test; needs root.
# Arguments: rkstage path, tests folder, project root.
set -u
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
root=$3
in_private_mount_namespace "$@"

cp "$root/res/sample/sample.JPG" "$root/res/sample/sample.stage" "$work/"
stage=$work/sample.stage

# A full disk: 256 KiB of tmpfs filled to the last block, holding the old outputs.
mount_tmpfs "$work/full" 256k
echo "old stage" >"$work/full/stage.out"
echo "old page" >"$work/full/page.html"
check "the disk is full" fill_up "$work/full"
for job in "resave stage.out" "html page.html" "render picture.png" "decode picture.bmp"; do
    set -- $job
    cmd=$1 out=$work/full/$2
    before=$(cat "$out" 2>/dev/null || echo none)
    if [ "$cmd" = decode ]; then input=$work/sample.JPG; else input=$stage; fi
    rkstage_run "$cmd" "$input" "$out"
    check "$cmd onto a full disk: exit 1" test $status -eq 1
    check "  says the disk is full" grep -q 'No space left on device' "$work/err"
    check "  old output intact" test "$(cat "$out" 2>/dev/null || echo none)" = "$before"
done
# Ruffle (some 28 MB) beside a page on a disk that fills up during the copy, and on the full
# one: the system's reason, nothing left of the copy.
RKEDIT_RUFFLE_DIR=${RKEDIT_RUFFLE_DIR:-$(dirname "$rkstage")/../share/rkedit/ruffle}
if [ -f "$RKEDIT_RUFFLE_DIR/ruffle.js" ]; then
    export RKEDIT_RUFFLE_DIR
    mkdir "$work/part"
    mount -t tmpfs -o size=4m,mode=755 tmpfs "$work/part"
    at_exit 'umount "$work/part" 2>/dev/null'
    for disk in part full; do
        run html "$stage" "$work/$disk/ruffle-page.html" --ruffle
        check "html --ruffle onto a $disk disk: exit 1" test $status -eq 1
        check "  says the disk is full" grep -q 'No space left on device' "$work/err"
        check "  no Ruffle folder, no page, no temporary folder" \
            test -z "$(ls -A "$work/$disk" | grep -v -x -E 'filler|page.html|stage.out')"
    done
else
    echo "skip html --ruffle onto a full disk: no Ruffle in the build"
fi
check "no temporary file left on the full disk" \
    test "$(ls -A "$work/full" | sort | tr '\n' ' ')" = "filler page.html stage.out "

# A read-only file system: refused before anything is written.
mount_tmpfs "$work/ro" 64k
echo "old page" >"$work/ro/page.html"
mount -o remount,ro "$work/ro"
rkstage_run html "$stage" "$work/ro/page.html"
check "html onto a read-only file system: exit 1" test $status -eq 1
check "  old page intact" test "$(cat "$work/ro/page.html")" = "old page"
rkstage_run resave "$stage" "$work/ro/new.stage"
check "resave of a new file there: exit 1" test $status -eq 1
check "  says why" grep -q 'Read-only file system' "$work/err"
check "  nothing created" test "$(ls -A "$work/ro")" = page.html

finish
