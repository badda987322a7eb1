#!/usr/bin/env bash
# rkstage dump: the opened document as JSON. Arguments: rkstage path, tests directory,
# project root.
set -u
rkstage=$1
data=$2/data/stage
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
check() { # description, command...
    local what=$1
    shift
    if ! "$@"; then
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}
json() { # file, python expression over `d` that must be true
    python3 -c 'import json,sys; d=json.load(open(sys.argv[1],encoding="utf-8")); sys.exit(0 if eval(sys.argv[2]) else 1)' "$1" "$2"
}

"$rkstage" dump "$data/full.stage" >"$tmp/full.json" 2>"$tmp/err"
check "dump exits 0" test $? -eq 0
check "golden dump" cmp -s "$tmp/full.json" "$data/full.json"
check "picture message on stderr only" grep -qx 'ファイルをオープンできません。' "$tmp/err"
check "valid JSON with 36 keys and the size" json "$tmp/full.json" \
    'len(d) == 38 and d["columns"] == 6 and d["rows"] == 4 and d["block"][3][0] == 120'

# Invalid CP932 shows as U+FFFD, one per bad byte; CR LF stays in the script.
printf 'title=a\xff\x81&command=x,y&graphicWidth=15&graphicHeight=12&block=5,' >"$tmp/bad.stage"
"$rkstage" dump "$tmp/bad.stage" >"$tmp/bad.json" 2>/dev/null
check "invalid bytes become U+FFFD" json "$tmp/bad.json" \
    'd["title"] == "a\ufffd\ufffd" and d["command"] == "x\r\ny\r\n" and d["block"] == [[5]]'

# A stage larger than the grid: the numbers tell its size, the cells stop at the grid.
printf 'blockWidth=1&blockHeight=1&graphicWidth=150&graphicHeight=120&block=7,' >"$tmp/big.stage"
"$rkstage" dump "$tmp/big.stage" >"$tmp/big.json" 2>/dev/null
check "oversized stage is clamped to the grid" json "$tmp/big.json" \
    'd["columns"] == 150 and d["rows"] == 120 and len(d["block"]) == 100 and all(len(r) == 100 for r in d["block"]) and d["block"][0][0] == 7'

# No stage: exit 1, nothing on stdout.
"$rkstage" dump "$tmp/missing.stage" >"$tmp/out" 2>"$tmp/err"
check "missing input exits 1" test $? -eq 1
check "nothing printed" test ! -s "$tmp/out"
check "one error line" test "$(wc -l <"$tmp/err")" -eq 1
"$rkstage" dump 2>/dev/null
check "no argument is bad usage" test $? -eq 2

exit $((failures > 0))
