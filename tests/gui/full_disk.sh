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

mount_tmpfs "$work/full" 512k || exit 1
cp "$root/res/sample/sample.stage" "$root/res/sample/sample.JPG" "$work/full/" || exit 1
if ! fill_up "$work/full"; then
    echo "FAIL: the tmpfs is not full"
    exit 1
fi
RKEDIT_TEST_FULL_DIR=$work/full QT_QPA_PLATFORM=offscreen:configfile=$root/tests/gui/screen1366.json \
    "$tests" --gtest_filter='SaveWithoutRoom.AFullFileSystem*' 2>&1 |
    tee "$work/log"
status=${PIPESTATUS[0]}
if grep -q '\[  SKIPPED \]' "$work/log" || ! grep -q '\[  PASSED  \] 1 test' "$work/log"; then
    echo "FAIL: the full-disk test did not run"
    exit 1
fi
exit "$status"
