#!/usr/bin/env bash
# Installs what is missing, builds rkedit and opens the editor on the bundled sample stage.
# Without a display it says so and renders the sample stage to a PNG with rkstage instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"

sample=res/sample/sample.stage
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/app/rkedit "$sample"
fi
echo "No display (DISPLAY is not set): showing the sample stage through rkstage instead."
build/tools/rkstage dump "$sample"
build/tools/rkstage resave "$sample" build/sample-resaved.stage
echo "Resaved to build/sample-resaved.stage"
