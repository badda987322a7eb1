#!/usr/bin/env bash
# Selections between two stage windows as a stage author makes them: a 3 x 2 area selected
# with S, Ctrl+C, Ctrl+V placed elsewhere with a click, pasted into a second stage's window,
# the whole stage flipped, both saved; the files and the X clipboard's plain text checked.
# Paste follows what another program puts on the clipboard while the editor runs.
source "$(dirname "$0")/lib.sh"
journey_start selection 1920x1080
command -v xclip >/dev/null || {
    echo "FAIL: xclip is missing (scripts/deps.sh installs it)"
    exit 1
}

files=$work/files
mkdir -p "$files"
cp "$TESTS/../res/sample/sample.JPG" "$files/"
# Two stages of the sample picture, 43 x 40 cells of 15 x 12 pixels: the first with the
# pattern 1 0 4 / 2 6 8 at (2, 3), the second empty.
python3 - "$TESTS/../res/sample/sample.stage" "$files" <<'PY'
import re, sys
record = open(sys.argv[1], 'rb').read().decode('latin-1')
cells = ['0'] * (43 * 40)
for (x, y), code in {(2, 3): 1, (3, 3): 0, (4, 3): 4, (2, 4): 2, (3, 4): 6, (4, 4): 8}.items():
    cells[y * 43 + x] = str(code)
first = re.sub(r'&block=[0-9,]*&', '&block=' + ','.join(cells) + ',&', record)
second = re.sub(r'&block=[0-9,]*&', '&block=&', record)
open(sys.argv[2] + '/one.stage', 'wb').write(first.encode('latin-1'))
open(sys.argv[2] + '/two.stage', 'wb').write(second.encode('latin-1'))
PY

# open_stage NAME: an editor on the stage, its window fitted at 100 %; the view's place in
# vx vy and its main window's id in main.
open_stage() {
    start_editor "$files/$1.stage"
    wait_event "^paint $1\\.stage @ [0-9-]+ [0-9-]+ 640 630\$"
    main=$(wait_window "^rkedit - $1\\.stage")
    activate "$main"
    read -r vx vy vw vh <<<"$(view_area "$1\\.stage")"
    # A click in the paddle area gives the view the keyboard; no tool writes there.
    click_at "$(cx 20)" "$(cy 45)"
    wait_focus "$1\\.stage"
}
cx() { echo $((vx + $1 * 15 + 7)); }
cy() { echo $((vy + $1 * 12 + 6)); }

open_stage one
mark_events
key s
xdotool mousemove --sync "$(cx 2)" "$(cy 3)" mousedown 1
xdotool mousemove --sync "$(cx 3)" "$(cy 4)" mousemove --sync "$(cx 4)" "$(cy 4)" mouseup 1
wait_event '^status 選択 3 × 2$'
key ctrl+c
check "the X clipboard holds the cells as plain text" \
    until_true "the clipboard" bash -c "xclip -o -selection clipboard | cmp -s - <(printf '1,0,4\n2,6,8\n')"
mark_events
key ctrl+v
wait_event '^status クリックか Enter で貼り付け'
xdotool mousemove --sync "$(cx 20)" "$(cy 20)"
mark_events
xdotool click 1
wait_event '^paint one\.stage\* @'
screenshot 1-pasted
# Esc drops the selection (the pasted cells); the whole stage is then flipped from the menu:
# 編集(&E) > 変形(&F) > 左右反転(&H).
key Escape
mark_events
key alt+e
wait_event '^menu 編集\(&E\)$'
key f
wait_event '^menu 変形\(&F\)$'
mark_events
key h
wait_event '^paint one\.stage\* @'
screenshot 2-flipped
mark_events
key ctrl+s
wait_event '^title rkedit - one\.stage$'

# A second editor: the cells come from the first one's clipboard.
open_stage two
mark_events
key ctrl+v
wait_event '^status クリックか Enter で貼り付け'
xdotool mousemove --sync "$(cx 5)" "$(cy 5)"
mark_events
xdotool click 1
wait_event '^paint two\.stage\* @'
screenshot 3-second-editor
mark_events
key ctrl+s
wait_event '^title rkedit - two\.stage$'

# Another program changes the clipboard while the editor runs: to a picture only, which
# paste cannot take (Ctrl+V does nothing, so nothing is said before the menu opened after
# it), then to cells as text, which it takes.
convert -size 4x4 xc:red "$work/red.png"
xclip -selection clipboard -t image/png -i "$work/red.png"
check "the clipboard holds the picture only" until_true "the picture on the clipboard" \
    bash -c "xclip -o -selection clipboard -t TARGETS | grep -qx image/png"
mark_events
key ctrl+v
key alt+e
wait_event '^menu 編集\(&E\)$'
key Escape
check "Ctrl+V with a picture on the clipboard pastes nothing" bash -c \
    "! tail -n +$((mark + 1)) '$events' | sed '/^menu /q' | grep -q '^status '"
printf '5\n' | xclip -selection clipboard
check "the clipboard holds the text" until_true "the text on the clipboard" \
    bash -c "xclip -o -selection clipboard | cmp -s - <(printf '5\n')"
mark_events
key ctrl+v
wait_event '^status クリックか Enter で貼り付け'
key Escape

check "both files hold what was pasted, flipped" python3 - "$files" <<'PY'
import sys
def grid(name):
    record = open(sys.argv[1] + '/' + name, 'rb').read().decode('latin-1')
    fields = dict(p.split('=', 1) for p in record.split('&') if '=' in p)
    cells = fields['block'].split(',')[:-1]
    assert len(cells) == 43 * 40, (name, len(cells))
    return {(i % 43, i // 43): int(c) for i, c in enumerate(cells) if c != '0'}
pattern = {(0, 0): 1, (2, 0): 4, (0, 1): 2, (1, 1): 6, (2, 1): 8}
def placed(x, y, flip=False):
    return {((42 - (x + dx)) if flip else x + dx, y + dy): c for (dx, dy), c in pattern.items()}
one, two = grid('one.stage'), grid('two.stage')
want_one = {**placed(2, 3, True), **placed(20, 20, True)}
assert one == want_one, (sorted(one.items()), sorted(want_one.items()))
assert two == placed(5, 5), sorted(two.items())
PY
journey_end
