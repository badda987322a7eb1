#!/usr/bin/env bash
# Whole-process timings of rkstage render against two other programs on the same picture,
# measured in one run as ratios (median of several runs each):
#   - a full-size render of a 4000 x 3000 stage with a full 100 x 100 block grid, against
#     Tiled's tmxrasterizer drawing the same picture under a 100 x 100 tile layer;
#   - a 256-pixel thumbnail of that stage, against `djpeg -bmp` of its picture.
# Usage: bench/render_vs_tools.sh [RKSTAGE] [RUNS]   (defaults: build/tools/rkstage, 7)
# Needs tmxrasterizer (Debian tiled), djpeg and convert (ImageMagick).
set -euo pipefail
cd "$(dirname "$0")/.."
rkstage=$(realpath "${1:-build/tools/rkstage}")
runs=${2:-7}
for tool in tmxrasterizer djpeg convert python3; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The picture: the sample's picture enlarged to 4000 x 3000, with grain so that it
# compresses like a photograph rather than a smooth gradient.
convert res/sample/sample.JPG -resize '4000x3000!' -attenuate 0.4 +noise Gaussian \
    -quality 90 "$work/big.jpg"
# The stage: 40 x 30 blocks make a 100 x 100 grid over the picture, every cell a block.
cells=$(python3 -c 'print("1," * 10000, end="")')
printf 'version=RK&graphicWidth=4000&graphicHeight=3000&graphic1=big.jpg&blockWidth=40&blockHeight=30&barSpace=150&block=%s&' \
    "$cells" >"$work/big.stage"
# The Tiled map: the picture as an image layer under a 100 x 100 tile layer of 40 x 30 block
# tiles (a red-bordered block like the editor's), every cell filled.
convert -size 40x30 xc:'#9b0000' -fill none -stroke '#c83232' -draw 'rectangle 0,0 39,29' \
    "$work/block.png"
python3 - "$work/map.tmx" <<'PY'
import sys
data = ",".join(["1"] * 10000)
open(sys.argv[1], "w").write(f"""<?xml version="1.0" encoding="UTF-8"?>
<map version="1.8" orientation="orthogonal" renderorder="right-down" width="100" height="100"
     tilewidth="40" tileheight="30" infinite="0" nextlayerid="3" nextobjectid="1">
 <tileset firstgid="1" name="block" tilewidth="40" tileheight="30" tilecount="1" columns="1">
  <image source="block.png" width="40" height="30"/>
 </tileset>
 <imagelayer id="1" name="picture"><image source="big.jpg" width="4000" height="3000"/></imagelayer>
 <layer id="2" name="blocks" width="100" height="100" opacity="0.5">
  <data encoding="csv">{data}</data>
 </layer>
</map>
""")
PY

python3 - "$runs" "$rkstage" "$work" <<'PY'
import os, statistics, subprocess, sys, time
runs, rkstage, work = int(sys.argv[1]), sys.argv[2], sys.argv[3]
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")

def timed(cmd, out=None):
    times = []
    for _ in range(runs):
        t0 = time.perf_counter()
        subprocess.run(cmd, check=True, env=env, cwd=work, stdout=out or subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - t0)
    return statistics.median(times)

full = timed([rkstage, "render", "big.stage", "full.png"])
tiled = timed(["tmxrasterizer", "map.tmx", "tiled.png"])
thumb = timed([rkstage, "render", "big.stage", "thumb.png", "--size", "256"])
djpeg = timed(["djpeg", "-bmp", "-outfile", "big.bmp", "big.jpg"])
size = lambda name: os.path.getsize(os.path.join(work, name))
print(f"full-size render 4000x3150: rkstage {full*1000:.0f} ms, tmxrasterizer {tiled*1000:.0f} ms,"
      f" ratio {full/tiled:.3f} (target <= 0.15); PNG {size('full.png')} bytes,"
      f" Tiled's {size('tiled.png')} bytes")
print(f"256-px thumbnail: rkstage {thumb*1000:.1f} ms, djpeg -bmp {djpeg*1000:.1f} ms,"
      f" ratio {thumb/djpeg:.3f} (target <= 0.5)")
PY
