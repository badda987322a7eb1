#!/usr/bin/env bash
# cmake --install into a DESTDIR: every file in its place and nothing else; the desktop
# entry, the AppStream file and the manual pages pass their validators; the stage file type
# is recognised by GIO from a temporary MIME database.
# Arguments: build folder, project root, cmake.
set -u
. "$(dirname "$0")/../lib/common.sh"
build=$1
root=$2
cmake=$3
need_tools desktop-file-validate appstreamcli update-mime-database gio man

id=org.example.rkedit
DESTDIR="$work/dest" "$cmake" --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }
usr=$work/dest/usr

# Exactly these files (Ruffle's folder is installed only when it was built).
cat >"$work/want" <<LIST
bin/rkedit
bin/rkstage
lib/rkedit/modules/librkplayserver.so
share/applications/$id.desktop
share/doc/rkedit/changelog.gz
share/doc/rkedit/copyright
share/icons/hicolor/scalable/apps/$id.svg
share/icons/hicolor/scalable/mimetypes/text-x-rkedit-stage.svg
share/man/man1/rkedit.1.gz
share/man/man1/rkstage.1.gz
share/metainfo/$id.metainfo.xml
share/mime/packages/$id.xml
share/thumbnailers/$id.thumbnailer
LIST
(cd "$usr" && find . -type f -o -type l | sed 's|^\./||' | grep -v '^share/rkedit/ruffle/' | sort) >"$work/got"
check "installed files" diff "$work/want" "$work/got"
check "programs are executable" test -x "$usr/bin/rkedit" -a -x "$usr/bin/rkstage"
# The editor loads its test play server from beside its own folder, and it alone needs
# QtNetwork: the editor does not load it at its start.
check "the editor names its test play server where it is installed" python3 -c "
import sys
name = '../lib/rkedit/modules/librkplayserver.so'.encode('utf-16-le')  # a QStringLiteral
sys.exit(0 if name in open(sys.argv[1], 'rb').read() else 1)" "$usr/bin/rkedit"
check "the editor does not link QtNetwork" bash -c "! ldd '$usr/bin/rkedit' | grep -q Network"
check "the test play server links QtNetwork" bash -c "ldd '$usr/lib/rkedit/modules/librkplayserver.so' | grep -q Network"
check "the installed rkstage runs" "$usr/bin/rkstage" render "$root/res/sample/sample.stage" "$work/s.png"
for svg in "$usr/share/icons/hicolor/scalable/apps/$id.svg" \
    "$usr/share/icons/hicolor/scalable/mimetypes/text-x-rkedit-stage.svg"; do
    check "$(basename "$svg") is an SVG document" \
        python3 -c 'import sys, xml.etree.ElementTree as E; sys.exit(E.parse(sys.argv[1]).getroot().tag != "{http://www.w3.org/2000/svg}svg")' "$svg"
done

# Desktop entry: valid, English and Japanese texts, the stage type only (never text/plain).
desktop=$usr/share/applications/$id.desktop
check "desktop-file-validate" desktop-file-validate "$desktop" >"$work/desktop.log"
for key in 'Name=' 'Name\[ja\]=' 'Comment=' 'Comment\[ja\]=' 'Exec=rkedit %f$' "Icon=$id\$" \
    'MimeType=text/x-rkedit-stage;$' 'Categories=Graphics;Development;$'; do
    check "desktop entry has $key" grep -q "^$key" "$desktop"
done
check "desktop entry claims no text/plain" bash -c "! grep -q 'text/plain' '$desktop'"
check "appstreamcli validate --pedantic" appstreamcli validate --no-net --pedantic \
    "$usr/share/metainfo/$id.metainfo.xml"
check "thumbnailer runs rkstage render with --size" \
    grep -qx 'Exec=rkstage render %i %o --size %s' "$usr/share/thumbnailers/$id.thumbnailer"
check "thumbnailer for the stage type only" \
    grep -qx 'MimeType=text/x-rkedit-stage;' "$usr/share/thumbnailers/$id.thumbnailer"

# Manual pages: they format without a warning and name every rkstage command and option.
for page in rkedit rkstage; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1.gz" \
        >"$work/$page.txt" 2>"$work/$page.warn"
    check "man $page formats" test -s "$work/$page.txt"
    check "man $page has no warnings" test ! -s "$work/$page.warn"
    for section in NAME SYNOPSIS DESCRIPTION 'EXIT STATUS' FILES EXAMPLES; do
        check "man $page has $section" grep -q "^$section" "$work/$page.txt"
    done
done
"$usr/bin/rkstage" 2>"$work/usage"
commands=$(sed -n 's/^  rkstage \([a-z]*\).*/\1/p' "$work/usage")
check "rkstage lists its commands" test -n "$commands"
for c in $commands; do
    check "man rkstage describes $c" grep -q "^       $c " "$work/rkstage.txt"
done
for option in $(grep -o -- '--[a-z-]*' "$work/usage" | sort -u); do
    check "man rkstage describes $option" grep -q -- "$option" "$work/rkstage.txt"
done
for option in --quit-after-first-paint --recovery=; do
    check "man rkedit describes $option" grep -q -- "$option" "$work/rkedit.txt"
done

# The stage type from a MIME database holding only the system's types and ours.
data=$work/data
mkdir -p "$data/mime/packages" "$work/home"
cp /usr/share/mime/packages/freedesktop.org.xml "$usr/share/mime/packages/$id.xml" \
    "$data/mime/packages/"
check "update-mime-database" update-mime-database "$data/mime" 2>"$work/mime.log"
type_of() {
    XDG_DATA_DIRS=$data XDG_DATA_HOME=$work/home/share HOME=$work/home \
        gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}
cp "$root/res/sample/sample.stage" "$work/sample.stage"
cp "$root/res/sample/sample.stage" "$work/stage1"
cp "$root/res/sample/sample.stage" "$work/stage1.txt"
printf 'an ordinary text file\nversion=RK& not at the start\n' >"$work/notes"
check "sample.stage is a stage" test "$(type_of "$work/sample.stage")" = text/x-rkedit-stage
check "a stage without an extension is a stage" test "$(type_of "$work/stage1")" = text/x-rkedit-stage
check "a text file without an extension is plain text" test "$(type_of "$work/notes")" = text/plain
# The *.txt glob outweighs any magic: such a stage stays text/plain (opened with "Open with").
check "a .txt stage stays plain text" test "$(type_of "$work/stage1.txt")" = text/plain

finish
