#!/usr/bin/env bash
# rkstage html writes the editor's page byte for byte, and fails cleanly on bad input.
# Usage: html_page.sh RKSTAGE TESTS_DIR PROJECT_ROOT
set -uo pipefail
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
data=$2/data/html
page() { # name, expected file, stage, options...
    local name=$1 expected=$2 stage=$3
    shift 3
    if ! "$rkstage" html "$data/$stage" "$work/$name.html" "$@" 2>"$work/$name.err"; then
        echo "FAIL $name: rkstage html failed: $(cat "$work/$name.err")"
        failures=$((failures + 1))
    elif ! cmp "$data/$expected" "$work/$name.html"; then
        echo "FAIL $name: page differs from $expected"
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

page new new_document.html new.stage
page right right.html right.stage --title "Stage 1" --cnf stage1.txt --quality medium \
    --annotation right --bgcolor-game ff0000 --bgcolor-html 0000ff
page bottom bottom.html bottom.stage --title 'a "b" <c>' --cnf s1.txt --quality low \
    --annotation bottom --bgcolor-game 00ff00 --bgcolor-html FFFFFF
# Quality "best" and the page colour come from the stage file; UTF-8 arguments become CP932.
page none none.html none.stage --title 'ステージ①' --cnf '表.txt' --annotation none \
    --bgcolor-game abcdef

fails() { # name, expected exit code, words expected on stderr, args...
    local name=$1 code=$2 words=$3
    shift 3
    printf 'old' >"$work/out.html"
    "$rkstage" html "$@" 2>"$work/err"
    local got=$?
    if [ "$got" -ne "$code" ] || ! grep -q -F -e "$words" "$work/err" ||
        [ "$(cat "$work/out.html")" != old ]; then
        echo "FAIL $name: exit $got (want $code), stderr '$(cat "$work/err")'," \
            "OUT now '$(head -c 20 "$work/out.html")'"
        failures=$((failures + 1))
    else
        echo "ok   $name: $(grep -F -e "$words" "$work/err" | head -n 1)"
    fi
}

out=$work/out.html
fails quality-word 2 "high, medium or low" "$data/right.stage" "$out" --quality best
fails annotation-word 2 "right, bottom or none" "$data/right.stage" "$out" --annotation Right
fails colour-digits 2 "rrggbb" "$data/right.stage" "$out" --bgcolor-game ff000
fails colour-hash 2 "rrggbb" "$data/right.stage" "$out" --bgcolor-html '#ff0000'
fails unknown-option 2 "unknown option --width" "$data/right.stage" "$out" --width 5
fails missing-value 2 "--title needs a value" "$data/right.stage" "$out" --title
fails one-file 2 "usage: rkstage html" "$data/right.stage"
fails no-stage 1 "missing.stage" "$work/missing.stage" "$out"
fails no-shift-jis 1 "Shift-JIS" "$data/right.stage" "$out" --title $'\xf0\x9f\x98\x80'
fails no-folder 1 "rkstage: $out/page.html" "$data/right.stage" "$out/page.html"

# Nothing but the files named above: no temporary file is left behind.
leftover=$(ls -A "$work" | grep -v -x -E '(out\.html|err|(new|right|bottom|none)\.(html|err))')
if [ -n "$leftover" ]; then
    echo "FAIL files left behind: $leftover"
    failures=$((failures + 1))
fi

finish
