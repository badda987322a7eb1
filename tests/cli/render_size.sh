#!/usr/bin/env bash
# rkstage render --size N: thumbnails whose longer side is N, aspect kept, painted from a
# reduced decode; a picture that cannot be read still gives the layout; a stage without a
# picture is an error. Arguments: rkstage path, tests folder, project root.
set -u
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
root=$3
# compare THUMB FULL W H: the thumbnail is W x H, and each of its pixels is the full-size
# render's pixel at the centre of the area it covers: exactly where that is a block, the
# border or the paddle area (colours no picture pixel here has), within a small difference on
# the picture (the thumbnail's picture is a reduced decode).
compare() {
    python3 - "$@" <<'PY'
import sys
from pictures import png

tw, th, thumb = png(sys.argv[1])
fw, fh, full = png(sys.argv[2])
want = (int(sys.argv[3]), int(sys.argv[4]))
if (tw, th) != want:
    sys.exit(f'  size {tw}x{th}, want {want[0]}x{want[1]}')
exact = {(200, 50, 50), (155, 0, 0), (0, 0, 0), (16, 32, 48)}
bad = 0
for y in range(th):
    for x in range(tw):
        sx, sy = (2 * x + 1) * fw // (2 * tw), (2 * y + 1) * fh // (2 * th)
        t, f = thumb(x, y), full(sx, sy)
        ok = t == f if f in exact else max(abs(a - b) for a, b in zip(t, f)) <= 48
        if not ok and bad < 5:
            print(f'  {x},{y} (full {sx},{sy}): {t}, full render {f}', file=sys.stderr)
        bad += not ok
sys.exit(1 if bad else 0)
PY
}

# Pictures of smooth colour (so that a reduced decode stays close to the full one) under
# 10 x 8 blocks: one wider than high, one higher than wide. The paddle area is 24 high and the
# game's background RGB(16, 32, 48).
picture() { # width height name
    python3 - "$1" "$2" "$work/$3.ppm" <<'PY'
import sys
w, h = int(sys.argv[1]), int(sys.argv[2])
body = bytes(v for y in range(h) for x in range(w)
             for v in (60 + 120 * x // w, 80 + 100 * y // h, 200 - 120 * x // w))
open(sys.argv[3], 'wb').write(b'P6\n%d %d\n255\n' % (w, h) + body)
PY
    cjpeg -quality 95 -outfile "$work/$3.jpg" "$work/$3.ppm"
}
stage() { # name picture-width picture-height
    local cells=1,0,0,1,0,0,0,1,0,0,1,1,0,0,0,0,0,0,0,0,1,0,0,0,0,0,0,0,0,1,
    printf 'version=RK&graphicWidth=%s&graphicHeight=%s&graphic1=%s.jpg&blockWidth=10&blockHeight=8&barSpace=24&bgcolorGame=302010&block=%s&' \
        "$2" "$3" "$1" "$cells" >"$work/$1.stage"
}
for shape in "wide 160 60" "tall 50 170"; do
    read -r name w h <<<"$shape"
    picture "$w" "$h" "$name"
    # The block list is read with the columns of the recorded picture size.
    stage "$name" "$w" "$h"
    check "$name: full-size render" rkstage_exits 0 render "$work/$name.stage" "$work/$name-full.png" --reference 2
done
check "wide: full size" test "$(png_size "$work/wide-full.png")" = 160x84
check "tall: full size" test "$(png_size "$work/tall-full.png")" = 50x194
for n in 64 40 17; do
    check "wide --size $n" rkstage_exits 0 render "$work/wide.stage" "$work/wide-$n.png" --size "$n" --reference 2
    check "tall --size $n" rkstage_exits 0 render "$work/tall.stage" "$work/tall-$n.png" --size "$n" --reference 2
done
check "wide at 64: 64 x 34, the full render sampled" compare "$work/wide-64.png" "$work/wide-full.png" 64 34
check "wide at 40: 40 x 21" compare "$work/wide-40.png" "$work/wide-full.png" 40 21
check "wide at 17: 17 x 9" compare "$work/wide-17.png" "$work/wide-full.png" 17 9
check "tall at 64: 16 x 64" compare "$work/tall-64.png" "$work/tall-full.png" 16 64
check "tall at 40: 10 x 40" compare "$work/tall-40.png" "$work/tall-full.png" 10 40
check "tall at 17: 4 x 17" compare "$work/tall-17.png" "$work/tall-full.png" 4 17
# A recorded size other than the picture's: the block list is read with 15 columns, then the
# settled window has the picture's size written back, in the thumbnail as in the full render.
stage recorded 150 50
sed -i 's/graphic1=recorded.jpg/graphic1=wide.jpg/' "$work/recorded.stage"
check "recorded size: full render" rkstage_exits 0 render "$work/recorded.stage" "$work/recorded-full.png" --reference 2
check "recorded size: --size 64" rkstage_exits 0 render "$work/recorded.stage" "$work/recorded-64.png" --size 64 --reference 2
check "recorded size: the settled window sampled" compare "$work/recorded-64.png" "$work/recorded-full.png" 64 34
check "enlarging: --size 320" rkstage_exits 0 render "$work/wide.stage" "$work/wide-320.png" --size 320 --reference 2
check "wide at 320: 320 x 168" compare "$work/wide-320.png" "$work/wide-full.png" 320 168
check "the sample at 256" rkstage_exits 0 render "$root/res/sample/sample.stage" "$work/sample.png" --size 256
check "the sample: 256 x 252" test "$(png_size "$work/sample.png")" = 256x252

# The picture cannot be read (a sandboxed thumbnailer sees the stage file alone): the layout
# at the recorded picture size over the background, with the loader's message, exit 0.
mkdir "$work/alone"
stage alone/wide 160 60
check "unreadable picture: a thumbnail all the same" rkstage_exits 0 render "$work/alone/wide.stage" "$work/alone.png" --size 64 --reference 2
check "with the loader's message" grep -qx 'ファイルをオープンできません。' "$work/err"
check "its size from the recorded picture size" test "$(png_size "$work/alone.png")" = 64x34
check "the blocks where the full render has them" python3 - "$work/alone.png" "$work/wide-64.png" <<'PY'
import subprocess, sys, zlib, struct
def rows(path):
    data = open(path, 'rb').read()
    w, h = struct.unpack('>II', data[16:24])
    pos, idat = 8, b''
    while pos < len(data):
        n, kind = struct.unpack('>I4s', data[pos:pos + 8])
        if kind == b'IDAT':
            idat += data[pos + 8:pos + 8 + n]
        pos += 12 + n
    raw, out, prev = zlib.decompress(idat), [], bytearray(3 * w)
    for y in range(h):
        line = raw[y * (3 * w + 1):(y + 1) * (3 * w + 1)]
        assert line[0] == 1, 'rkstage writes Sub rows'
        row = bytearray(line[1:])
        for i in range(3, 3 * w):
            row[i] = (row[i] + row[i - 3]) & 255
        out.append([tuple(row[3 * x:3 * x + 3]) for x in range(w)])
    return out
a, b = rows(sys.argv[1]), rows(sys.argv[2])
blocks = {(200, 50, 50), (155, 0, 0)}
same = all((pa in blocks) == (pb in blocks) and (pb not in blocks or pa == pb)
           for ra, rb in zip(a, b) for pa, pb in zip(ra, rb))
bg = sum(p == (16, 32, 48) for r in a for p in r)
sys.exit(0 if same and bg > 0 else 1)
PY

# A stage without a picture: none named, or one that cannot be read and no recorded size
# (a new stage never shown with a picture). A clear message, exit 1, no file.
printf 'version=RK&graphic1=&graphicWidth=640&graphicHeight=480&' >"$work/none.stage"
check "no picture named: error" rkstage_exits 1 render "$work/none.stage" "$work/none.png" --size 64
check "with a message" grep -q '^rkstage: the stage has no picture' "$work/err"
printf 'version=RK&graphic1=missing.jpg&' >"$work/new.stage"
check "missing picture, no recorded size: error" rkstage_exits 1 render "$work/new.stage" "$work/none.png" --size 64
check "with a message" grep -q "^rkstage: .*cannot be read.*0 x 0" "$work/err"
sed 's/barSpace=24/barSpace=2147483000/' "$work/wide.stage" >"$work/negative.stage" # -648
check "a paddle area that leaves no window" rkstage_exits 1 render "$work/negative.stage" "$work/none.png" --size 64
check "with a message" grep -q '^rkstage: .*empty.*barSpace -648' "$work/err"
for bad in 0 4097 -5 12x '' 99999; do
    check "--size '$bad' is bad usage" rkstage_exits 2 render "$work/wide.stage" "$work/none.png" --size "$bad"
done
check "--size without a value" rkstage_exits 2 render "$work/wide.stage" "$work/none.png" --size
check "nothing written" test ! -e "$work/none.png"

finish
