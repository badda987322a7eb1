#!/usr/bin/env bash
# rkstage on a full and on a read-only file system: exit 1 with the system's reason, the old
# output intact, no partial or temporary file left. Uses small tmpfs mounts made inside a
# private mount namespace (unshare -m), so nothing stays mounted after the test; needs root.
# Arguments: rkstage path, tests folder, project root.
set -u
rkstage=$1
root=$3
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
trap 'umount "$tmp/full" "$tmp/ro" 2>/dev/null; rm -rf "$tmp"' EXIT
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
run() {
    timeout 60 "$rkstage" "$@" 2>"$tmp/err" >/dev/null
    status=$?
}
cp "$root/res/sample/sample.JPG" "$root/res/sample/sample.stage" "$tmp/"
stage=$tmp/sample.stage

# A full disk: 256 KiB of tmpfs filled to the last block, holding the old outputs.
mkdir "$tmp/full"
mount -t tmpfs -o size=256k,mode=755 tmpfs "$tmp/full"
echo "old stage" >"$tmp/full/stage.out"
echo "old page" >"$tmp/full/page.html"
dd if=/dev/zero of="$tmp/full/filler" bs=4k status=none 2>/dev/null
check "the disk is full" test "$(df --output=avail "$tmp/full" | tail -n 1 | tr -d ' ')" -eq 0
for job in "resave stage.out" "html page.html" "render picture.png" "decode picture.bmp"; do
    set -- $job
    cmd=$1 out=$tmp/full/$2
    before=$(cat "$out" 2>/dev/null || echo none)
    if [ "$cmd" = decode ]; then input=$tmp/sample.JPG; else input=$stage; fi
    run "$cmd" "$input" "$out"
    check "$cmd onto a full disk: exit 1" test $status -eq 1
    check "  says the disk is full" grep -q 'No space left on device' "$tmp/err"
    check "  old output intact" test "$(cat "$out" 2>/dev/null || echo none)" = "$before"
done
check "no temporary file left on the full disk" \
    test "$(ls -A "$tmp/full" | sort | tr '\n' ' ')" = "filler page.html stage.out "

# A read-only file system: refused before anything is written.
mkdir "$tmp/ro"
mount -t tmpfs -o size=64k tmpfs "$tmp/ro"
echo "old page" >"$tmp/ro/page.html"
mount -o remount,ro "$tmp/ro"
run html "$stage" "$tmp/ro/page.html"
check "html onto a read-only file system: exit 1" test $status -eq 1
check "  old page intact" test "$(cat "$tmp/ro/page.html")" = "old page"
run resave "$stage" "$tmp/ro/new.stage"
check "resave of a new file there: exit 1" test $status -eq 1
check "  says why" grep -q 'Read-only file system' "$tmp/err"
check "  nothing created" test "$(ls -A "$tmp/ro")" = page.html

echo "$failures failed"
[ "$failures" -eq 0 ]
