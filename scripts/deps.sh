#!/usr/bin/env bash
# Installs the Debian packages rkedit needs, only those that are missing.
# Usage: scripts/deps.sh [extra packages...]
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-tools-dev qt6-l10n-tools
    libjpeg62-turbo-dev libjpeg-turbo-progs libdeflate-dev zlib1g-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-ipafont-gothic fonts-noto-cjk xvfb xauth clang-format
    openbox xdotool imagemagick x11-utils xclip
    strace util-linux
    desktop-file-utils appstream shared-mime-info libglib2.0-bin lintian dpkg-dev file
    tiled python3
    qt6-httpserver-dev qt6-websockets-dev openssl
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
apt_install() {
    echo "Installing: $*"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@"
}
[ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"

# Ruffle, the Flash Player emulator the exported page can load and test play uses, pinned to
# one release of the npm package and checked against its published integrity. It is kept in
# a cache outside the source tree; the build copies it from there (see ruffle/CMakeLists.txt),
# so building never touches the network.
ruffle_version=0.6.0
ruffle_integrity=sha512-P2X1zDENBoiLt2ZjPcsUzaDxoR7fVF2e1U/bi7hbIAQEjkykxljSoG8AgbywHvlVVzL9Y5tIZMRqDwIm31jgPA==
cache=${RKEDIT_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/rkedit}
package=$cache/ruffle-rs-ruffle-$ruffle_version.tgz

integrity_of() { echo "sha512-$(openssl dgst -sha512 -binary "$1" | base64 -w0)"; }

if [ ! -f "$package" ] || [ "$(integrity_of "$package")" != "$ruffle_integrity" ]; then
    # A NodeSource nodejs brings its own npm and conflicts with Debian's: add npm only when
    # there is none.
    if ! command -v npm >/dev/null; then
        apt_install npm
    fi
    mkdir -p "$cache"
    download=$(mktemp -d "$cache/download.XXXXXX")
    trap 'rm -rf "$download"' EXIT
    echo "Fetching @ruffle-rs/ruffle@$ruffle_version into $cache"
    (cd "$download" && npm pack --silent "@ruffle-rs/ruffle@$ruffle_version" >/dev/null)
    got=$(integrity_of "$download/ruffle-rs-ruffle-$ruffle_version.tgz")
    if [ "$got" != "$ruffle_integrity" ]; then
        echo "deps.sh: the downloaded @ruffle-rs/ruffle@$ruffle_version does not match its" \
            "pinned integrity" >&2
        echo "  expected $ruffle_integrity" >&2
        echo "  got      $got" >&2
        echo "  nothing was kept; check the network or the npm registry in use" >&2
        exit 1
    fi
    mv "$download/ruffle-rs-ruffle-$ruffle_version.tgz" "$package"
fi
