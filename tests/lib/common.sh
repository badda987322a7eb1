# What the shell tests share. Source it first thing, after `set -u`:
#   . "$(dirname "$0")/../lib/common.sh"
# It gives
#   $work                  a scratch folder, removed on exit (after the at_exit commands)
#   at_exit COMMAND        runs COMMAND (a string, newest first) when the script ends
#   check WHAT COMMAND...  runs COMMAND; reports "ok" or "FAIL" and counts the checks and
#                          the failures ($checks, $failures)
#   finish                 reports the count; exits 1 when a check failed, else 0
#   need_tools TOOL...     fails at once naming a tool that is not installed
#   in_private_mount_namespace "$@"
#                          re-runs the script as root in its own mount namespace, so the
#                          file systems it mounts vanish with it; skips (77) where it cannot
#   mount_tmpfs DIR SIZE   a tmpfs of SIZE (as mount's size= takes it) at DIR, made here;
#                          unmounted when the script ends
#   fill_up DIR            fills the file system of DIR to its last block (DIR/filler);
#                          true once no block is left
#   rkstage_run ARGS...    runs "$rkstage" ARGS... (the script sets $rkstage) within
#                          $rkstage_limit seconds (60 unless set), stdout in $work/out,
#                          stderr in $work/err; sets $status
#   rkstage_exits WANT ARGS...
#                          rkstage_run ARGS...; true when it exits WANT, else says how it
#                          ended and shows its stderr
#   png_size PNG           prints the picture's WIDTHxHEIGHT from its header
#   $RK_TESTS_LIB          this folder, also put on PYTHONPATH for the Python helpers

RK_TESTS_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export PYTHONPATH=$RK_TESTS_LIB${PYTHONPATH:+:$PYTHONPATH}
failures=0
checks=0
work=$(mktemp -d)
rk_exit_commands=()

at_exit() {
    rk_exit_commands=("$1" "${rk_exit_commands[@]}")
}
rk_on_exit() {
    local command
    for command in "${rk_exit_commands[@]}"; do
        eval "$command"
    done
    rm -rf "$work"
}
trap rk_on_exit EXIT

check() {
    local what=$1
    shift
    checks=$((checks + 1))
    if "$@"; then
        echo "ok   $what"
    else
        echo "FAIL $what"
        failures=$((failures + 1))
    fi
}

finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed"
        exit 1
    fi
    echo "all checks passed"
    exit 0
}

need_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || {
            echo "FAIL $tool is missing (scripts/deps.sh installs it)"
            exit 1
        }
    done
}

in_private_mount_namespace() {
    [ "${RK_IN_MOUNT_NAMESPACE:-}" = 1 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "SKIP: mounting a small tmpfs needs root (run the tests as root, as CI does)"
        exit 77
    fi
    if ! unshare -m --propagation private true 2>/dev/null; then
        echo "SKIP: this machine allows no private mount namespace (unshare -m failed)"
        exit 77
    fi
    # exec skips the exit trap: the copy makes its own scratch folder.
    rm -rf "$work"
    exec unshare -m --propagation private env RK_IN_MOUNT_NAMESPACE=1 bash "$0" "$@"
}

mount_tmpfs() {
    mkdir -p "$1" && mount -t tmpfs -o "size=$2,mode=755" tmpfs "$1" || return 1
    at_exit "umount '$1' 2>/dev/null"
}

fill_up() {
    dd if=/dev/zero of="$1/filler" bs=4k status=none 2>/dev/null
    [ "$(df --output=avail "$1" | tail -n 1 | tr -d ' ')" -eq 0 ]
}

rkstage_run() {
    status=0 # (the failure is the result: also under set -e)
    timeout "${rkstage_limit:-60}" "$rkstage" "$@" 2>"$work/err" >"$work/out" || status=$?
}

rkstage_exits() {
    local want=$1
    shift
    rkstage_run "$@"
    [ "$status" -eq "$want" ] && return 0
    echo "exit $status (want $want) for: rkstage $*" >&2
    cat "$work/err" >&2
    return 1
}

png_size() {
    python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read(24)
assert d[:8] == b"\x89PNG\r\n\x1a\n" and d[12:16] == b"IHDR"
print("%dx%d" % struct.unpack(">II", d[16:24]))' "$1"
}
