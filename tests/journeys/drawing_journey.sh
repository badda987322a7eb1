#!/usr/bin/env bash
# Drawing as a stage author does: kind 4 chosen with its key, a pen stroke with B, part of it
# erased with the right button, the rest of the stage flood-filled with kind 2 by F, saved
# with Ctrl+S, and the file's block list checked cell by cell.
source "$(dirname "$0")/lib.sh"
journey_start drawing 1920x1080

files=$work/files
mkdir -p "$files"
cp "$TESTS/../res/sample/sample.JPG" "$files/"
# The sample stage with an empty grid: 43 x 40 cells of 15 x 12 pixels.
sed -E 's/&block=[0-9,]*&/\&block=\&/' "$TESTS/../res/sample/sample.stage" >"$files/draw.stage"

start_editor "$files/draw.stage"
# The window fitted to its stage at 100 %: the view is the stage's 640 x 630 pixels.
wait_event '^paint draw\.stage @ [0-9-]+ [0-9-]+ 640 630$'
stage=$(wait_window '^rkedit - draw\.stage')
activate "$stage"
read -r vx vy vw vh <<<"$(view_area 'draw\.stage')"
check "the stage shows at 100 %" test "$vw" -eq 640 -a "$vh" -eq 630
# The centre of cell (x, y) on the screen.
cx() { echo $((vx + $1 * 15 + 7)); }
cy() { echo $((vy + $1 * 12 + 6)); }
# A click in the paddle area gives the view the keyboard; no tool writes there.
click_at "$(cx 20)" "$(cy 45)"

# Blocks show NOTPEN at first (the view's initial display): colour OR the inverse of the
# picture pixel under it.
screenshot 0-empty
merged() { # BEFORE-SHOT X Y RRGGBB: the colour a block's pixel takes over that pixel
    local before
    before=$(pixel "$1" "$2" "$3")
    printf '%06x' $(((0x$4 | (~0x$before & 0xFFFFFF)) & 0xFFFFFF))
}
mark_events
key 4 b
xdotool mousemove --sync "$(cx 2)" "$(cy 2)" mousedown 1
xdotool mousemove --sync "$(cx 6)" "$(cy 2)" mousemove --sync "$(cx 10)" "$(cy 2)" mouseup 1
# The right button empties cells 4..6 of the stroke.
xdotool mousemove --sync "$(cx 4)" "$(cy 2)" mousedown 3
xdotool mousemove --sync "$(cx 6)" "$(cy 2)" mouseup 3
wait_event '^paint draw\.stage\* @'
screenshot 1-pen-and-erase
check "kind 4's inside where the pen went" \
    pixel_is 1-pen-and-erase "$(cx 3)" "$(cy 2)" "$(merged 0-empty "$(cx 3)" "$(cy 2)" 696969)"
check "kind 4's inside at the stroke's end" \
    pixel_is 1-pen-and-erase "$(cx 10)" "$(cy 2)" "$(merged 0-empty "$(cx 10)" "$(cy 2)" 696969)"
check "the erased cells show the picture again" \
    pixel_is 1-pen-and-erase "$(cx 5)" "$(cy 2)" "$(pixel 0-empty "$(cx 5)" "$(cy 2)")"

mark_events
key 2 f
click_at "$(cx 20)" "$(cy 20)"
wait_event '^paint draw\.stage\* @'
screenshot 2-filled
for c in "20 20" "0 0" "42 39" "5 3"; do
    set -- $c
    check "kind 2's inside at cell ($1, $2) after the fill" \
        pixel_is 2-filled "$(cx $1)" "$(cy $2)" "$(merged 0-empty "$(cx $1)" "$(cy $2)" b95500)"
done
check "the stroke's cells keep kind 4" \
    pixel_is 2-filled "$(cx 3)" "$(cy 2)" "$(merged 0-empty "$(cx 3)" "$(cy 2)" 696969)"

mark_events
key ctrl+s
check "the stage is saved" until_true "the save" grep -q '&block=2,' "$files/draw.stage"
check "the block list holds the stroke, the erased cells and the fill" python3 - "$files/draw.stage" <<'PY'
import sys
record = open(sys.argv[1], 'rb').read().decode('latin-1')
fields = dict(p.split('=', 1) for p in record.split('&') if '=' in p)
cells = fields['block'].split(',')[:-1]
assert len(cells) == 43 * 40, len(cells)
grid = [[int(cells[y * 43 + x]) for x in range(43)] for y in range(40)]
fours = [(x, y) for y in range(40) for x in range(43) if grid[y][x] == 4]
assert fours == [(2, 2), (3, 2), (7, 2), (8, 2), (9, 2), (10, 2)], fours
assert all(grid[y][x] == 2 for y in range(40) for x in range(43) if (x, y) not in fours)
PY
journey_end
