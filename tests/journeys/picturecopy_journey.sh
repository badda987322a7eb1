#!/usr/bin/env bash
# A new stage whose picture is chosen with the properties panel's browse button from another
# folder, saved with 名前を付けて保存 into a third folder, the offer to copy the picture
# beside the stage accepted, and the stage opened again: the picture shows, the record names
# it by its leaf name, and the copy is the picture byte for byte.
source "$(dirname "$0")/lib.sh"
journey_start picturecopy 1366x768

pictures=$work/pictures
stages=$work/stages
mkdir -p "$pictures" "$stages"
convert -size 240x180 xc:'#3070d0' "$pictures/pic.JPG"
cp "$pictures/pic.JPG" "$work/pic.original"

start_editor
wait_event '^paint RKedit1 @'
wait_event '^dialog プロパティ'
# The panel reports its buttons once the window manager has placed it.
wait_event '^control プロパティ c1033 '
screenshot 1-new-stage
read -r vx vy vw vh <<<"$(view_area 'RKedit1')"
check "the new stage shows no picture yet" \
    fewer_than 100 count_colour 1-new-stage 3070d0 "$vx" "$vy" "$vw" "$vh"

# The browse button beside 前景ファイル opens the file chooser; the picture's path is typed
# into its file name field.
mark_events
check "the browse button is clicked" click_control プロパティ c1033
wait_event '^dialog [^|]* \| $'
# The keys go to the chooser once the window manager has made it the active window.
chooser=$(wait_window '^開く$')
activate "$chooser"
screenshot 2-file-chooser
key ctrl+a
type_text "$pictures/pic.JPG"
mark_events
key Return
# Choosing a picture is an edit: the window's title gets its "*".
wait_event '^paint RKedit1\* @'
screenshot 3-picture-chosen
read -r vx vy vw vh <<<"$(view_area 'RKedit1\*')"
check "the chosen picture shows in the stage window" \
    at_least 20000 count_colour 3-picture-chosen 3070d0 "$vx" "$vy" "$vw" "$vh"

# 名前を付けて保存 from the main window's file menu (Alt+F, A), into the stages folder.
main=$(wait_window '^rkedit - RKedit1')
activate "$main"
mark_events
key alt+f
wait_event '^menu ﾌｧｲﾙ\(&F\)$'
key a
wait_event '^dialog 名前を付けて保存 \| $'
chooser=$(wait_window '^名前を付けて保存$')
activate "$chooser"
screenshot 4-save-as-chooser
key ctrl+a
type_text "$stages/mystage.stage"
mark_events
key Return
# The picture lies in another folder: the editor offers to copy it beside the stage.
wait_event '^dialog .*\| 画像 .*pic\.JPG はステージと別のフォルダーにあります。'
offer=$(wait_window '^rkedit$')
activate "$offer"
screenshot 5-copy-offer
check "the offer names the stage's folder" event_after_mark "にコピーしますか\?"
key Return # コピーする, the default
wait_event '^title rkedit - mystage\.stage$'
screenshot 6-saved
check "the record holds the picture's leaf name" \
    grep -q '&graphic1=pic\.JPG&' "$stages/mystage.stage"
check "the copy beside the stage is the picture byte for byte" \
    cmp -s "$stages/pic.JPG" "$work/pic.original"
check "the original picture is left as it was" cmp -s "$pictures/pic.JPG" "$work/pic.original"

# Opened again, with the original moved away: the picture can only come from the copy.
mark_events
kill -TERM "$editor_pid"
wait "$editor_pid" 2>/dev/null
mv "$pictures/pic.JPG" "$work/pic.moved"
start_editor "$stages/mystage.stage"
wait_event '^paint mystage\.stage @'
screenshot 7-reopened
read -r vx vy vw vh <<<"$(view_area 'mystage\.stage')"
check "the reopened stage shows its picture" \
    at_least 20000 count_colour 7-reopened 3070d0 "$vx" "$vy" "$vw" "$vh"
check "no message about the picture on reopening" \
    bash -c "! tail -n +$((mark + 1)) '$events' | grep -q 'オープンできません'"
journey_end
