#!/usr/bin/env bash
# The sample stage (640 pixels wide) on a 1366 x 768 screen: the main window and the
# properties panel lie within the screen, the panel beside the stage window, leaving every
# pixel of the stage to be seen; the wheel scrolls the panel. Checked on the screen.
source "$(dirname "$0")/lib.sh"
size=${PANELFIT_JOURNEY_SCREEN:-1366x768}
journey_start panelfit "$size"

files=$work/files
mkdir -p "$files"
cp "$TESTS/../res/sample/sample.stage" "$TESTS/../res/sample/sample.JPG" "$files/"
# What the stage view shows at 100 %, pixel for pixel.
"$RKSTAGE" render "$files/sample.stage" "$work/expected.png" >/dev/null || fail "rkstage render"

# frame_of ID: "X Y W H" of the window with the window manager's frame around it.
frame_of() {
    local x y w h l r t b
    read -r x y w h <<<"$(xwininfo -id "$1" | awk -F: '
        /Absolute upper-left X/ {x=$2} /Absolute upper-left Y/ {y=$2}
        /^ *Width/ {w=$2} /^ *Height/ {h=$2} END {print x+0, y+0, w+0, h+0}')"
    read -r l r t b <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -E 's/.*= //; s/,//g')"
    echo "$((x - ${l:-0})) $((y - ${t:-0})) $((w + ${l:-0} + ${r:-0})) $((h + ${t:-0} + ${b:-0}))"
}
# within_screen X Y W H
within_screen() {
    (($1 >= 0 && $2 >= 0 && $1 + $3 <= screen_w && $2 + $4 <= screen_h)) || {
        echo "  $3x$4 at $1,$2 is not within ${screen_w}x$screen_h"
        return 1
    }
}
# apart X Y W H X Y W H: the two rectangles do not overlap.
apart() {
    (($1 + $3 <= $5 || $5 + $7 <= $1 || $2 + $4 <= $6 || $6 + $8 <= $2)) || {
        echo "  $3x$4 at $1,$2 overlaps $7x$8 at $5,$6"
        return 1
    }
}

# The first paint is on the default client area (480 x 360); the window is then fitted to
# the stage (640 x 630) and painted again, and the panel goes beside it.
start_editor "$files/sample.stage"
wait_event '^paint sample\.stage @ .* 640 630$'
main=$(wait_window '^rkedit')
panel=$(xdotool search --sync --onlyvisible --name '^プロパティ$' | head -n 1)
read -r vx vy vw vh <<<"$(view_area 'sample\.stage')"
say "view at $vx,$vy ${vw}x$vh"
panel_clear() {
    local frame
    frame=$(frame_of "$panel")
    within_screen $frame >/dev/null && apart $frame "$vx" "$vy" "$vw" "$vh" >/dev/null
}
# The panel is placed once the window manager has framed it.
until_true "the panel beside the stage" panel_clear
read -r px py pw ph <<<"$(frame_of "$panel")"
read -r mx my mw mh <<<"$(frame_of "$main")"
say "main window frame ${mw}x$mh at $mx,$my; panel frame ${pw}x$ph at $px,$py"
check "the main window's frame lies within the screen" within_screen "$mx" "$my" "$mw" "$mh"
check "the panel's frame lies within the screen" within_screen "$px" "$py" "$pw" "$ph"
check "the panel leaves the stage view uncovered" apart "$px" "$py" "$pw" "$ph" "$vx" "$vy" "$vw" "$vh"
check "the panel is beside the stage window" test "$px" -ge $((vx + vw)) -a "$px" -le $((vx + vw + 20))

# Every pixel of the stage as rkstage renders it: nothing covers it.
screenshot 1-opened
same_as_render() {
    local differing
    differing=$(convert "$work/1-opened.ppm" -crop "${vw}x${vh}+${vx}+${vy}" +repage \
        "$work/shown.ppm" && compare -metric AE "$work/shown.ppm" "$work/expected.png" null: 2>&1)
    [ "$differing" = 0 ] || {
        echo "  $differing pixels of the view differ from the render"
        return 1
    }
}
check "the whole stage is seen as rendered" same_as_render

# The wheel over the panel scrolls its column: the part below the fields comes up.
xdotool mousemove --sync $((px + pw / 2)) $((py + ph / 2))
xdotool click --repeat 5 5
panel_changed() {
    screenshot 2-panel-scrolled >/dev/null 2>&1 || return 1
    local changed
    changed=$(convert "$work/1-opened.ppm" -crop "${pw}x${ph}+${px}+${py}" +repage "$work/p1.ppm" &&
        convert "$work/2-panel-scrolled.ppm" -crop "${pw}x${ph}+${px}+${py}" +repage \
            "$work/p2.ppm" && compare -metric AE "$work/p1.ppm" "$work/p2.ppm" null: 2>&1)
    [ "${changed:-0}" -gt 5000 ]
}
check "the wheel scrolls the panel" until_true "the panel to scroll" panel_changed
journey_end
