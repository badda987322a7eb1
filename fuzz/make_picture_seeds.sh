#!/usr/bin/env bash
# Writes a few small JPEG files of different kinds into the folder $1, as a starting corpus
# for fuzz_pictureloader (the fuzzer finds the JPEG structure much sooner from these).
set -euo pipefail
out=$1
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
w=19 h=11
{
    printf 'P6\n%d %d\n255\n' $w $h
    for ((i = 0; i < w * h; i++)); do
        printf "\\$(printf %03o $(((i * 7) % 256)))\\$(printf %03o $(((i * 13 + 5) % 256)))"
        printf "\\$(printf %03o $(((i * 29 + 77) % 256)))"
    done
} > "$work/in.ppm"
cjpeg -quality 75 -outfile "$out/baseline420.jpg" "$work/in.ppm"
cjpeg -quality 95 -sample 1x1 -outfile "$out/full444.jpg" "$work/in.ppm"
cjpeg -grayscale -outfile "$out/grey.jpg" "$work/in.ppm"
cjpeg -progressive -outfile "$out/progressive.jpg" "$work/in.ppm"
cjpeg -restart 1 -optimize -outfile "$out/restart.jpg" "$work/in.ppm"
cjpeg -arithmetic -outfile "$out/arithmetic.jpg" "$work/in.ppm"
cjpeg -rgb -outfile "$out/rgb.jpg" "$work/in.ppm"
if command -v convert > /dev/null; then
    convert "$work/in.ppm" -colorspace CMYK "$out/cmyk.jpg"
fi
