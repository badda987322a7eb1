#!/usr/bin/env bash
# Each annotation layout of the exported page, rendered by a real browser (headless
# Chromium): the annotation cell stands right of, below or inside the movie's cell, or is
# absent; the OBJECT has the page's WIDTH and HEIGHT; the Shift-JIS texts decode.
# Usage: html_browser.sh RKSTAGE TESTS_DIR PROJECT_ROOT
set -uo pipefail
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
root=$3

browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
    if [ "${CI:-}" = "true" ]; then
        echo "FAIL chromium is not installed (scripts/test.sh installs it)"
        exit 1
    fi
    echo "SKIP chromium is not installed; scripts/test.sh installs it"
    exit 0
fi

stage=$root/res/sample/sample.stage # 640 x 480 picture, paddle area 150
title='ブロック崩し'
placeholder='ここに説明文を記入してください'

# Appended after the page's last line, so the page itself is laid out as written; it writes
# what it measured into an attribute that --dump-dom prints.
probe='<script>
(function () {
  function box(e) { return e.getBoundingClientRect(); }
  var o = document.querySelector("object"), pre = document.querySelector("pre");
  var movieCell = o.closest("td"), noteCell = pre ? pre.closest("td") : null;
  var m = box(movieCell), where = "none";
  if (noteCell === movieCell) {
    where = box(pre).top >= box(o).bottom - 1 ? "inside" : "inside-before";
  } else if (noteCell) {
    var n = box(noteCell);
    if (n.left >= m.right - 1 && n.top < m.bottom && n.bottom > m.top) where = "right";
    else if (n.top >= m.bottom - 1 && n.left < m.right && n.right > m.left) where = "below";
    else where = "elsewhere";
  }
  var e = o.querySelector("embed");
  var facts = ["width=" + o.getAttribute("width"), "height=" + o.getAttribute("height"),
    "embed=" + Math.round(box(e).width) + "x" + Math.round(box(e).height),
    "cellfits=" + (m.width >= box(e).width && m.height >= box(e).height),
    "annotation=" + where, "title=" + document.title,
    "text=" + (pre ? pre.textContent.trim() : "")];
  document.documentElement.setAttribute("data-probe", facts.join(" "));
})();
</script>'

layout() { # layout name, expected annotation place, rkstage options...
    local name=$1 expected=$2
    shift 2
    local page=$work/$name.html
    if ! "$rkstage" html "$stage" "$page" --title "$title" "$@" 2>"$work/$name.err"; then
        echo "FAIL $name: rkstage html failed: $(cat "$work/$name.err")"
        failures=$((failures + 1))
        return
    fi
    { cat "$page"; printf '%s\r\n' "$probe"; } >"$work/$name-probe.html"
    local dom
    dom=$(timeout 60 "$browser" --headless --no-sandbox --disable-gpu \
        --disable-background-networking --disable-component-update --disable-sync \
        --no-first-run --user-data-dir="$work/profile-$name" --window-size=1280,1024 \
        --dump-dom "file://$work/$name-probe.html" 2>"$work/$name-browser.err")
    local facts
    facts=$(printf '%s' "$dom" | sed -n 's/.*data-probe="\([^"]*\)".*/\1/p' | head -n 1)
    local text=$placeholder
    [ "$expected" = none ] && text=
    local want="width=640 height=630 embed=640x630 cellfits=true annotation=$expected"
    want+=" title=$title text=$text"
    if [ "$facts" != "$want" ]; then
        echo "FAIL $name"
        echo "  want: $want"
        echo "  got:  ${facts:-(nothing measured; browser said: $(tail -n 3 "$work/$name-browser.err"))}"
        failures=$((failures + 1))
    else
        echo "ok   $name: $facts"
    fi
}

layout right right --annotation right
layout bottom below --annotation bottom
layout none none --annotation none
layout default inside # no annotation position stored: any other text

finish
