#!/usr/bin/env bash
# A new stage: the hint in the empty window, then a picture name typed into the docked
# properties panel and saved with Ctrl+S while the keyboard is still in the panel; Enter in
# the field then shows the picture at once.
source "$(dirname "$0")/lib.sh"
journey_start panel 1366x768

files=$work/files
mkdir -p "$files"
: >"$files/stage.txt" # an empty file opens as a new stage under its name
convert -size 200x150 xc:'#3070d0' "$files/pic.JPG"

start_editor "$files/stage.txt"
# The new stage's picture graphic1.JPG is not there yet: the message names it.
wait_event '^dialog .*\| ファイルをオープンできません。'
screenshot 1-new-stage-message
key Return
wait_event '^paint stage\.txt'
wait_event '^dialog プロパティ'
screenshot 2-new-stage-with-hint
read -r vx vy vw vh <<<"$(view_area 'stage\.txt')"
check "the hint is drawn in the empty window" \
    at_least 300 count_light 2-new-stage-with-hint "$vx" "$vy" 400 60

# A click in the docked panel's first field; a picture name, then Ctrl+S there.
wait_event '^control プロパティ c1000 '
check "the properties panel's first field is clicked" click_control プロパティ c1000
key ctrl+a
type_text "pic.JPG"
mark_events
key ctrl+s
check "Ctrl+S in the panel saved the typed name" \
    until_true "the save" grep -q '&graphic1=pic.JPG&' "$files/stage.txt"
screenshot 3-saved-from-panel
mark_events
key Return
wait_event '^paint stage\.txt'
picture_shown() {
    screenshot 3b-entered >/dev/null 2>&1 || return 1
    read -r vx vy vw vh <<<"$(view_area 'stage\.txt')"
    at_least 20000 count_colour 3b-entered 3070d0 "$vx" "$vy" "$vw" "$vh" >/dev/null
}
check "Enter in the picture field shows the picture" until_true "the picture" picture_shown
# The picture beside the stage shows once the stage is opened again.
mark_events
kill -TERM "$editor_pid"
wait "$editor_pid" 2>/dev/null
start_editor "$files/stage.txt"
wait_event '^paint stage\.txt @'
screenshot 4-reopened
read -r vx vy vw vh <<<"$(view_area 'stage\.txt')"
check "the reopened stage shows its picture" \
    at_least 20000 count_colour 4-reopened 3070d0 "$vx" "$vy" "$vw" "$vh"
journey_end
