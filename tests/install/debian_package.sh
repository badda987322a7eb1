#!/usr/bin/env bash
# cpack -G DEB: the package's fields and shlibdeps dependencies, lintian without errors;
# then the package in use. When CI=true and running as root it is installed with dpkg -i
# (and removed again whatever happens), else unpacked with dpkg-deb -x into a temporary
# folder. Its rkstage renders the sample, the thumbnailer's command line exactly as the
# installed .thumbnailer file writes it makes a thumbnail of the asked size, and its rkedit
# paints a first stage window under Xvfb. After dpkg -r nothing of the package is left.
# Arguments: build folder, project root, cpack.
set -u
. "$(dirname "$0")/../lib/common.sh"
build=$1
root=$2
cpack=$3
installed=
at_exit '[ -z "$installed" ] || dpkg -r rkedit >/dev/null 2>&1'
need_tools dpkg-deb dpkg-shlibdeps lintian xvfb-run python3

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; echo "FAIL: cpack -G DEB"; exit 1; }
debs=("$work"/pkg/rkedit_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single .deb in $work/pkg"; exit 1; }
deb=${debs[0]}
field() { dpkg-deb -f "$deb" "$1"; }
check "package name" test "$(field Package)" = rkedit
version=$(sed -n 's/^project(rkedit VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
check "the project's version $version" test "$(field Version)" = "$version"
check "maintainer" test -n "$(field Maintainer)"
check "description" test "$(field Description | wc -l)" -gt 2
depends=$(field Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo libdeflate0 libc6 'libstdc++6'; do
    check "depends on $lib (from shlibdeps): $depends" grep -q "\\b$lib\\b" <<<"$depends"
done
dpkg-deb -c "$deb" >"$work/contents"
check "copyright file in the package" grep -q ' ./usr/share/doc/rkedit/copyright$' "$work/contents"
check "files are owned by root" bash -c "! awk '{print \$2}' '$work/contents' | grep -v '^root/root$'"

lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
check "lintian reports no errors" bash -c "! grep '^E:' '$work/lintian.log'"
grep '^[EW]:' "$work/lintian.log" | sed 's/^/  lintian: /'

if [ "${CI:-}" = "true" ] && [ "$(id -u)" -eq 0 ]; then
    if dpkg-query -W -f='${Status}' rkedit 2>/dev/null | grep -q 'install ok installed'; then
        echo "FAIL: an rkedit package is installed already; not replacing it"
        exit 1
    fi
    installed=yes
    dpkg -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; echo "FAIL: dpkg -i"; exit 1; }
    prefix=
else
    dpkg-deb -x "$deb" "$work/unpacked"
    prefix=$work/unpacked
fi
bin=$prefix/usr/bin
id=org.example.rkedit

check "rkstage renders the sample" "$bin/rkstage" render "$root/res/sample/sample.stage" "$work/sample.png"
check "the sample's full size" test "$(png_size "$work/sample.png")" = 640x630

# The thumbnailer's command line exactly as written, with its %-codes filled in and the
# package's programs first on the path.
thumbnailer=$prefix/usr/share/thumbnailers/$id.thumbnailer
exec_line=$(sed -n 's/^Exec=//p' "$thumbnailer")
check "thumbnailer has a command line" test -n "$exec_line"
read -r -a words <<<"$exec_line"
command=()
for w in "${words[@]}"; do
    case $w in
    %i) command+=("$work/sample.stage") ;;
    %o) command+=("$work/thumb.png") ;;
    %s) command+=(128) ;;
    %*) command+=("unexpected-$w") ;;
    *) command+=("$w") ;;
    esac
done
cp "$root/res/sample/sample.stage" "$root/res/sample/sample.JPG" "$work/"
check "thumbnailer command runs: ${command[*]}" env PATH="$bin:$PATH" "${command[@]}"
check "thumbnail 128 pixels on its longer side" test "$(png_size "$work/thumb.png")" = 128x126

# The installed editor paints its first stage window and quits, in a fresh home folder.
mkdir -p "$work/home"
chmod 700 "$work/home"
check "rkedit paints a first stage window under Xvfb" \
    env -u QT_QPA_PLATFORM HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
    XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/home" \
    timeout 60 xvfb-run -a "$bin/rkedit" --quit-after-first-paint "$work/sample.stage"

if [ -n "$installed" ]; then
    awk '$1 !~ /^d/ {print $NF}' "$work/contents" | sed 's|^\.||' >"$work/files"
    check "dpkg -r" dpkg -r rkedit >"$work/dpkg.log" 2>&1
    installed=
    check "the package is gone" bash -c "! dpkg-query -W -f='\${Status}' rkedit 2>/dev/null | grep -q 'install ok installed'"
    while read -r f; do
        check "$f removed" test ! -e "$f"
    done <"$work/files"
fi

finish
