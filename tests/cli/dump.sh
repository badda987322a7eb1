#!/usr/bin/env bash
# rkstage dump: the opened document as JSON. Arguments: rkstage path, tests directory,
# project root.
set -u
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
data=$2/data/stage
json() { # file, python expression over `d` that must be true
    python3 -c 'import json,sys; d=json.load(open(sys.argv[1],encoding="utf-8")); sys.exit(0 if eval(sys.argv[2]) else 1)' "$1" "$2"
}

"$rkstage" dump "$data/full.stage" >"$work/full.json" 2>"$work/err"
check "dump exits 0" test $? -eq 0
check "golden dump" cmp -s "$work/full.json" "$data/full.json"
check "picture message on stderr only" grep -qx 'ファイルをオープンできません。' "$work/err"
check "valid JSON with 36 keys and the size" json "$work/full.json" \
    'len(d) == 38 and d["columns"] == 6 and d["rows"] == 4 and d["block"][3][0] == 120'

# Invalid CP932 shows as U+FFFD, one per bad byte; CR LF stays in the script.
printf 'title=a\xff\x81&command=x,y&graphicWidth=15&graphicHeight=12&block=5,' >"$work/bad.stage"
"$rkstage" dump "$work/bad.stage" >"$work/bad.json" 2>/dev/null
check "invalid bytes become U+FFFD" json "$work/bad.json" \
    'd["title"] == "a\ufffd\ufffd" and d["command"] == "x\r\ny\r\n" and d["block"] == [[5]]'

# A stage larger than the grid: the numbers tell its size, the cells stop at the grid.
printf 'blockWidth=1&blockHeight=1&graphicWidth=150&graphicHeight=120&block=7,' >"$work/big.stage"
"$rkstage" dump "$work/big.stage" >"$work/big.json" 2>/dev/null
check "oversized stage is clamped to the grid" json "$work/big.json" \
    'd["columns"] == 150 and d["rows"] == 120 and len(d["block"]) == 100 and all(len(r) == 100 for r in d["block"]) and d["block"][0][0] == 7'

# No stage: exit 1, nothing on stdout.
"$rkstage" dump "$work/missing.stage" >"$work/out" 2>"$work/err"
check "missing input exits 1" test $? -eq 1
check "nothing printed" test ! -s "$work/out"
check "one error line" test "$(wc -l <"$work/err")" -eq 1
"$rkstage" dump 2>/dev/null
check "no argument is bad usage" test $? -eq 2

finish
