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
    exec build/shell/rkedit "$sample"
fi
echo "No display (DISPLAY is not set), so the editor window cannot open."
echo "Rendering the sample stage as the editor shows it, with rkstage, instead:"
build/tools/rkstage render "$sample" build/sample.png
echo "  build/sample.png"
echo "To see the editor itself without a display: xvfb-run -a scripts/run.sh"
