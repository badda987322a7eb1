#!/usr/bin/env bash
# The editor saving onto a full file system: runs the GUI tests that need one inside a
# private mount namespace (unshare -m) with a small tmpfs filled to its last block, holding a
# stage and its picture, so nothing stays mounted afterwards. Needs root.
# Arguments: the GUI test program, project root.
set -u
tests=$1
root=$2
if [ "${RK_IN_MOUNT_NAMESPACE:-}" != 1 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "SKIP: mounting a small tmpfs needs root (run the tests as root, as CI does)"
        exit 77
    fi
    if ! unshare -m --propagation private true 2>/dev/null; then
        echo "SKIP: this machine allows no private mount namespace (unshare -m failed)"
        exit 77
    fi
    exec unshare -m --propagation private env RK_IN_MOUNT_NAMESPACE=1 bash "$0" "$@"
fi

tmp=$(mktemp -d)
trap 'umount "$tmp/full" 2>/dev/null; rm -rf "$tmp"' EXIT
mkdir "$tmp/full"
mount -t tmpfs -o size=512k,mode=755 tmpfs "$tmp/full" || exit 1
cp "$root/res/sample/sample.stage" "$root/res/sample/sample.JPG" "$tmp/full/" || exit 1
dd if=/dev/zero of="$tmp/full/filler" bs=4k status=none 2>/dev/null
if [ "$(df --output=avail "$tmp/full" | tail -n 1 | tr -d ' ')" -ne 0 ]; then
    echo "FAIL: the tmpfs is not full"
    exit 1
fi
RKEDIT_TEST_FULL_DIR=$tmp/full QT_QPA_PLATFORM=offscreen \
    "$tests" --gtest_filter='SaveWithoutRoom.AFullFileSystem*' 2>&1 |
    tee "$tmp/log"
status=${PIPESTATUS[0]}
if grep -q '\[  SKIPPED \]' "$tmp/log" || ! grep -q '\[  PASSED  \] 1 test' "$tmp/log"; then
    echo "FAIL: the full-disk test did not run"
    exit 1
fi
exit "$status"
