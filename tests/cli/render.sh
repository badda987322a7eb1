#!/usr/bin/env bash
# rkstage render: the settled stage window as a PNG, checked pixel by pixel against the
# picture djpeg decodes; its failures. Arguments: rkstage path, tests folder, project root.
set -u
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
root=$3
# pixels PNG PPM CHECKS: decodes the PNG and the reference PPM, then evaluates each
# "x,y=expression" check; in an expression `pic` is the reference pixel at (x, y) and
# `inv` its inverse, colours are (r, g, b) tuples.
pixels() {
    python3 - "$@" <<'PY'
import sys
from pictures import png, ppm

w, h, out = png(sys.argv[1])
_, _, ref = ppm(sys.argv[2])
bad = 0
for check in sys.argv[3:]:
    where, expr = check.split('=', 1)
    if where == 'size':
        ok = (w, h) == eval(expr)
        got = (w, h)
    else:
        x, y = map(int, where.split(','))
        pic = ref(x, y) if x < 40 and y < 30 else None
        inv = tuple(255 - c for c in pic) if pic else None
        got = out(x, y)
        ok = got == eval(expr)
    if not ok:
        print(f'  {check}: got {got}', file=sys.stderr)
        bad += 1
sys.exit(1 if bad else 0)
PY
}

# A 40 x 30 picture. The stage says graphicWidth 35, so the first paint lays the grid over 35
# pixels and the write-back makes it 40 for the settled paint. Blocks 10 x 6: kind 1 at
# (1, 0) and at (0, 5), the row below the picture; kind 2 at (2, 0). The block list is read
# with 4 columns (35 / 10 rounded up): item k is cell (k mod 4, k div 4).
{
    printf 'P6\n40 30\n255\n'
    for ((y = 0; y < 30; y++)); do
        for ((x = 0; x < 40; x++)); do
            printf "\\$(printf %03o $(((x * 6 + y) % 256)))"
            printf "\\$(printf %03o $(((y * 8 + 20) % 256)))"
            printf "\\$(printf %03o $(((200 - x * 3 - y) & 255)))"
        done
    done
} >"$work/pic.ppm"
cjpeg -quality 95 -outfile "$work/pic.jpg" "$work/pic.ppm"
djpeg -pnm -outfile "$work/ref.ppm" "$work/pic.jpg"
cells=0,1,2,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1,
printf 'version=RK&graphicWidth=35&graphicHeight=30&graphic1=pic.jpg&blockWidth=10&blockHeight=6&barSpace=20&bgcolorGame=c08040&block=%s&' \
    "$cells" >"$work/s.stage"

pen='(200,50,50)' brush='(155,0,0)' bg='(64,128,192)' black='(0,0,0)' dot='(0,155,155)'
pen2='(230,140,40)' brush2='(185,85,0)' # kind 2, double durability

check "render, opaque blocks, no grid" rkstage_exits 0 render "$work/s.stage" "$work/plain.png" --grid 0 --reference 2
check "the picture exactly, kind 2 in its colours, blocks and the paddle area" \
    pixels "$work/plain.png" "$work/ref.ppm" 'size=(40,50)' \
    '0,0=pic' '9,5=pic' "20,0=$pen2" "29,5=$pen2" '39,29=pic' '5,20=pic' '25,6=pic' \
    "10,0=$pen" "19,5=$pen" "10,3=$pen" "15,0=$pen" "15,3=$brush" "18,4=$brush" "20,3=$pen2" \
    "25,3=$brush2" "21,1=$brush2" '30,3=pic' \
    "0,30=$pen" "9,35=$pen" "5,32=$brush" "10,32=$bg" "5,36=$bg" \
    "20,40=$bg" "39,45=$black" "20,49=$black" "0,40=$black"

check "render with the view's defaults" rkstage_exits 0 render "$work/s.stage" "$work/default.png"
check "defaults are --grid 2 --reference 1" rkstage_exits 0 render "$work/s.stage" "$work/explicit.png" --grid 2 --reference 1
check "same bytes" cmp -s "$work/default.png" "$work/explicit.png"
# Lines at y = 5, 11, ... and x = 9, 19, 29, 39; the settled paint covers all 40 columns.
check "grid lines invert, crossings show the picture, blocks merge with the inverse" \
    pixels "$work/default.png" "$work/ref.ppm" \
    '37,5=inv' '9,2=inv' '39,20=inv' '9,5=pic' '39,29=pic' '38,29=inv' '3,3=pic' "19,31=$bg" "9,31=tuple(p | (255 - b) for p, b in zip($pen, $bg))" \
    "15,3=tuple(b | (255 - p) for b, p in zip($brush, pic))" \
    "5,32=tuple(b | (255 - p) for b, p in zip($brush, $bg))"
check "render with dots" rkstage_exits 0 render "$work/s.stage" "$work/dots.png" --grid 1 --reference 0
check "dots one pixel right of and below the crossings; hidden blocks" \
    pixels "$work/dots.png" "$work/ref.ppm" \
    "10,6=$dot" "11,6=pic" "10,7=pic" "30,30=$dot" "20,36=$dot" "9,5=pic" '15,3=pic' "5,32=$bg"

# The bundled sample: 640 x 480 picture, barSpace 150.
check "sample stage renders" rkstage_exits 0 render "$root/res/sample/sample.stage" "$work/sample.png"
check "sample size 640 x 630" pixels "$work/sample.png" "$work/ref.ppm" 'size=(640,630)'

# A picture whose filtered rows are several megabytes: the PNG's data is compressed in
# pieces, a few at a time, and the pieces must make one stream that decodes to the picture
# exactly (ImageMagick checks the checksums as it decodes). Its 11 MB make six pieces, more
# than one batch, with rows that straddle the pieces' ends. Grain and a gradient give both
# runs and noise.
convert -size 1200x3000 gradient:'#204080-#f0c010' -attenuate 2 +noise Gaussian \
    -quality 90 "$work/large.jpg"
djpeg -pnm -outfile "$work/large.ppm" "$work/large.jpg"
printf 'version=RK&graphicWidth=1200&graphicHeight=3000&graphic1=large.jpg&blockWidth=40&blockHeight=30&barSpace=150&block=&' \
    >"$work/large.stage"
check "a large picture renders" rkstage_exits 0 render "$work/large.stage" "$work/large.png" --grid 0
check "its pixels are the picture's" \
    cmp -s <(convert "$work/large.png" -crop 1200x3000+0+0 rgb:-) <(convert "$work/large.ppm" rgb:-)
check "and the paddle area below it" pixels "$work/large.png" "$work/ref.ppm" 'size=(1200,3150)' \
    "600,3100=$black" "0,3149=$black"

# Failures: exit 1 with a message, nothing written, an existing output untouched.
printf 'version=RK&graphicWidth=35&graphic1=missing.jpg&' >"$work/nopic.stage"
check "no picture is an error" rkstage_exits 1 render "$work/nopic.stage" "$work/none.png"
check "the loader's message" grep -qx 'ファイルをオープンできません。' "$work/err"
check "and the render error" grep -q '^rkstage: .*no picture' "$work/err"
check "nothing written" test ! -e "$work/none.png"
cp "$work/plain.png" "$work/keep.png"
sed 's/barSpace=20/barSpace=99999999/' "$work/s.stage" >"$work/huge.stage"
check "an absurd paddle area is refused" rkstage_exits 1 render "$work/huge.stage" "$work/keep.png"
check "existing output kept" cmp -s "$work/keep.png" "$work/plain.png"
sed 's/barSpace=20/barSpace=2147483000/' "$work/s.stage" >"$work/negative.stage" # digit value -648
check "a paddle area that leaves no window is refused" rkstage_exits 1 render "$work/negative.stage" "$work/keep.png"
check "with a message" grep -q '^rkstage: .*empty.*barSpace -648' "$work/err"
check "missing stage" rkstage_exits 1 render "$work/absent.stage" "$work/none.png"
check "bad grid mode" rkstage_exits 2 render "$work/s.stage" "$work/none.png" --grid 3
check "option without value" rkstage_exits 2 render "$work/s.stage" "$work/none.png" --reference
check "one file only" rkstage_exits 2 render "$work/s.stage"
check "nothing written on bad usage" test ! -e "$work/none.png"
check "no temporary left behind" test "$(ls "$work" | grep -c png)" -eq 7

finish
