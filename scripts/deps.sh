#!/usr/bin/env bash
# Installs the Debian packages rkedit needs, only those that are missing.
# Usage: scripts/deps.sh [extra packages...]
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
    libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-noto-cjk xvfb xauth clang-format
    openbox xdotool imagemagick x11-utils
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
