#!/usr/bin/env bash
# rkstage decode: the BMP it writes against djpeg's, and its failures.
# Arguments: rkstage path, tests folder, project root.
set -euo pipefail
. "$(dirname "$0")/../lib/common.sh"
rkstage=$1
message="ファイルをオープンできません。"

die() { echo "FAIL: $*" >&2; exit 1; }
u32() { od -An -t u4 -j "$2" -N 4 "$1" | tr -d ' '; }

# A 13 x 7 picture of varied colours (odd width: one padding byte a row), 4:2:0 at quality 90.
w=13 h=7
{
    printf 'P6\n%d %d\n255\n' $w $h
    for ((y = 0; y < h; y++)); do
        for ((x = 0; x < w; x++)); do
            printf "\\$(printf %03o $(((x * 19 + y * 7) % 256)))"
            printf "\\$(printf %03o $(((x * y * 11 + 40) % 256)))"
            printf "\\$(printf %03o $(((255 - x * 13 - y * 29) & 255)))"
        done
    done
} > "$work/in.ppm"
cjpeg -quality 90 -outfile "$work/in.jpg" "$work/in.ppm"
djpeg -bmp -outfile "$work/ref.bmp" "$work/in.jpg"

"$rkstage" decode "$work/in.jpg" "$work/out.bmp" || die "decode failed"

stride=$(((3 * w + 3) / 4 * 4))
rows=$((stride * h))
size=$((14 + 40 + 4 * w * h))
[ "$(head -c 2 "$work/out.bmp")" = BM ] || die "no BM signature"
[ "$(stat -c %s "$work/out.bmp")" -eq $size ] || die "file size is not 14 + the block"
[ "$(u32 "$work/out.bmp" 2)" -eq $size ] || die "bfSize"
[ "$(u32 "$work/out.bmp" 10)" -eq 54 ] || die "bfOffBits"
[ "$(u32 "$work/out.bmp" 14)" -eq 40 ] || die "biSize"
[ "$(u32 "$work/out.bmp" 18)" -eq $w ] || die "biWidth"
[ "$(u32 "$work/out.bmp" 22)" -eq $h ] || die "biHeight"
[ "$(od -An -t u2 -j 26 -N 4 "$work/out.bmp" | tr -s ' ')" = " 1 24" ] || die "planes, bits"
[ "$(od -An -v -t x1 -j 30 -N 24 "$work/out.bmp" | tr -d ' \n' | tr -d 0)" = "" ] ||
    die "compression, sizes, resolutions and colour counts must be zero"
[ "$(u32 "$work/ref.bmp" 10)" -eq 54 ] || die "djpeg wrote an unexpected layout"
# The pixel rows (bottom-up BGR with padding) are exactly djpeg's.
cmp -n $rows "$work/out.bmp" "$work/ref.bmp" 54 54 || die "pixel rows differ from djpeg"
[ "$(tail -c +$((55 + rows)) "$work/out.bmp" | tr -d '\0' | wc -c)" -eq 0 ] ||
    die "the block's tail is not zero"

# Failures: exit 1, the message on stderr, nothing written; an existing output stays.
rkstage_run decode "$work/missing.jpg" "$work/none.bmp"
[ $status -eq 1 ] || die "missing file: exit $status"
grep -qF "$message" "$work/err" || die "no message for a missing file"
[ ! -e "$work/none.bmp" ] || die "output written for a missing file"

echo "plain text" > "$work/text.jpg"
cp "$work/out.bmp" "$work/keep.bmp"
rkstage_run decode "$work/text.jpg" "$work/keep.bmp"
[ $status -eq 1 ] || die "text file: exit $status"
grep -qF "$message" "$work/err" || die "no message for a text file"
cmp -s "$work/keep.bmp" "$work/out.bmp" || die "existing output changed"
[ "$(ls "$work" | grep -c keep.bmp)" -eq 1 ] || die "temporary file left behind"

set +e
"$rkstage" decode "$work/in.jpg" 2> /dev/null
status=$?
set -e
[ $status -eq 2 ] || die "bad usage: exit $status"
echo ok
