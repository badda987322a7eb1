#!/usr/bin/env bash
# The editor saving onto a full file system: runs the GUI tests that need one inside a
# private mount namespace (unshare -m) with a small tmpfs filled to its last block, holding a
# stage and its picture, so nothing stays mounted afterwards. Needs root.
# Arguments: the GUI test program, project root.
set -u
. "$(dirname "$0")/../lib/common.sh"
tests=$1
root=$2
in_private_mount_namespace "$@"

at_exit 'umount "$work/full" 2>/dev/null'
mkdir "$work/full"
mount -t tmpfs -o size=512k,mode=755 tmpfs "$work/full" || exit 1
cp "$root/res/sample/sample.stage" "$root/res/sample/sample.JPG" "$work/full/" || exit 1
dd if=/dev/zero of="$work/full/filler" bs=4k status=none 2>/dev/null
if [ "$(df --output=avail "$work/full" | tail -n 1 | tr -d ' ')" -ne 0 ]; then
    echo "FAIL: the tmpfs is not full"
    exit 1
fi
RKEDIT_TEST_FULL_DIR=$work/full QT_QPA_PLATFORM=offscreen \
    "$tests" --gtest_filter='SaveWithoutRoom.AFullFileSystem*' 2>&1 |
    tee "$work/log"
status=${PIPESTATUS[0]}
if grep -q '\[  SKIPPED \]' "$work/log" || ! grep -q '\[  PASSED  \] 1 test' "$work/log"; then
    echo "FAIL: the full-disk test did not run"
    exit 1
fi
exit "$status"
