#!/usr/bin/env bash
# Whole-process timings of rkstage render against two other programs on the same picture,
# measured in one run as ratios (median of several runs each):
#   - a full-size render of a 4000 x 3000 stage with a full 100 x 100 block grid, against
#     Tiled's tmxrasterizer drawing the same picture under a 100 x 100 tile layer;
#   - the same on a noisy picture (strong grain: it compresses badly, so the PNG is large);
#   - a 256-pixel thumbnail of that stage, against `djpeg -bmp` of its picture.
# With OTHER (another rkstage, for instance one built from an earlier commit) its full-size
# renders are timed in the same run, as a ratio to RKSTAGE's, and their PNGs' pixels compared.
# Usage: bench/render_vs_tools.sh [RKSTAGE] [RUNS] [OTHER]   (defaults: build/tools/rkstage, 7)
# Needs tmxrasterizer (Debian tiled), djpeg and convert (ImageMagick).
set -euo pipefail
cd "$(dirname "$0")/.."
rkstage=$(realpath "${1:-build/tools/rkstage}")
runs=${2:-7}
other=${3:+$(realpath "$3")}
for tool in tmxrasterizer djpeg convert python3; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The picture: the sample's picture enlarged to 4000 x 3000, with grain so that it
# compresses like a photograph rather than a smooth gradient.
convert res/sample/sample.JPG -resize '4000x3000!' -attenuate 0.4 +noise Gaussian \
    -quality 90 "$work/big.jpg"
convert res/sample/sample.JPG -resize '4000x3000!' -attenuate 4 +noise Gaussian \
    -quality 90 "$work/noisy.jpg"
# The stage: 40 x 30 blocks make a 100 x 100 grid over the picture, every cell a block.
cells=$(python3 -c 'print("1," * 10000, end="")')
printf 'version=RK&graphicWidth=4000&graphicHeight=3000&graphic1=big.jpg&blockWidth=40&blockHeight=30&barSpace=150&block=%s&' \
    "$cells" >"$work/big.stage"
sed 's/graphic1=big.jpg/graphic1=noisy.jpg/' "$work/big.stage" >"$work/noisy.stage"
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
sed 's/big.jpg/noisy.jpg/' "$work/map.tmx" >"$work/noisy.tmx"

python3 - "$runs" "$rkstage" "$work" "$other" <<'PY'
import os, statistics, subprocess, sys, time
runs, rkstage, work, other = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")

def once(cmd):
    t0 = time.perf_counter()
    subprocess.run(cmd, check=True, env=env, cwd=work, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return time.perf_counter() - t0

def timed(*cmds):
    # The commands take turns, so that a busy moment of the machine weighs on each alike.
    times = [[] for _ in cmds]
    for _ in range(runs):
        for k, cmd in enumerate(cmds):
            times[k].append(once(cmd))
    return [statistics.median(t) for t in times]

def pixels(name):
    return subprocess.run(["convert", os.path.join(work, name), "rgb:-"], check=True,
                          capture_output=True).stdout

size = lambda name: os.path.getsize(os.path.join(work, name))
for stage, tmx in (("big", "map"), ("noisy", "noisy")):
    cmds = [[rkstage, "render", f"{stage}.stage", f"{stage}.png"],
            ["tmxrasterizer", f"{tmx}.tmx", f"{stage}-tiled.png"]]
    if other:
        cmds.append([other, "render", f"{stage}.stage", f"{stage}-other.png"])
    got = timed(*cmds)
    full, tiled = got[0], got[1]
    print(f"full-size render 4000x3150 ({stage} picture): rkstage {full*1000:.0f} ms,"
          f" tmxrasterizer {tiled*1000:.0f} ms, ratio {full/tiled:.3f} (target <= 0.15);"
          f" PNG {size(stage + '.png')} bytes, Tiled's {size(stage + '-tiled.png')} bytes")
    if other:
        same = pixels(f"{stage}.png") == pixels(f"{stage}-other.png")
        print(f"  other rkstage {got[2]*1000:.0f} ms (ratio to it {full/got[2]:.3f},"
              f" to tmxrasterizer {got[2]/tiled:.3f}); pixels {'the same' if same else 'DIFFER'}")
thumb, djpeg = timed([rkstage, "render", "big.stage", "thumb.png", "--size", "256"],
                     ["djpeg", "-bmp", "-outfile", "big.bmp", "big.jpg"])
print(f"256-px thumbnail: rkstage {thumb*1000:.1f} ms, djpeg -bmp {djpeg*1000:.1f} ms,"
      f" ratio {thumb/djpeg:.3f} (target <= 0.5)")
PY
