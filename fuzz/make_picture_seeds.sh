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

# A scan bomb: a 2048 x 2048 progressive grey frame followed by 60 scans that each cover
# every block and hold nothing but end-of-band runs (7 data bytes a scan), so the fuzzer
# starts next to the loader's scan limit.
{
    printf '\xff\xd8'                                           # SOI
    printf '\xff\xdb\x00\x43\x00'                               # DQT: table 0 ...
    for ((i = 0; i < 64; i++)); do printf '\x01'; done          # ... all ones
    printf '\xff\xc2\x00\x0b\x08\x08\x00\x08\x00\x01\x01\x11\x00' # SOF2: 2048 x 2048, grey
    printf '\xff\xc4\x00\x14\x10\x01'                           # DHT: AC table 0, one code "0"
    for ((i = 0; i < 15; i++)); do printf '\x00'; done
    printf '\xe0'                                               # ... for an end-of-band run
    for ((s = 0; s < 60; s++)); do
        printf '\xff\xda\x00\x08\x01\x01\x00\x01\x3f\x00'       # SOS: AC 1..63, first pass
        printf '\x7f\xfe\xff\x00\xfc\x00\x07'                   # runs of 32767, 32767, 16384
    done
    printf '\xff\xd9'                                           # EOI
} > "$out/scanbomb.jpg"
