#!/usr/bin/env bash
# A 4000 x 3000 picture on a 1366 x 768 screen: the stage window fits the screen, the stage
# opens whole, 100 % shows a part of it and scrolls, the whole stage comes back with Ctrl+9;
# tile and cascade then. Checked on the screen.
source "$(dirname "$0")/lib.sh"
size=${ZOOM_JOURNEY_SCREEN:-1366x768}
journey_start zoom "$size"

files=$work/files
mkdir -p "$files"
# Top half red, bottom half blue; a green game background under the paddle area.
convert -size 4000x1500 xc:'#d03030' -size 4000x1500 xc:'#3070d0' -append -quality 95 \
    "$files/big.jpg"
printf 'version=RK&graphic1=big.jpg&graphicWidth=4000&graphicHeight=3000&blockWidth=40&blockHeight=30&barSpace=150&bgcolorGame=00ff00&block=1,1,1,&' \
    >"$files/big.stage"

# near_colour SHOT RRGGBB X Y W H: how many pixels of that part of the screenshot have about
# that colour (a JPEG's flat colour decodes a step or two off).
near_colour() {
    convert "$work/$1.ppm" -crop "${5}x${6}+${3}+${4}" +repage -fuzz 4% -fill black \
        +opaque "#$2" -fill white -opaque "#$2" -format '%[fx:round(mean*w*h)]' info:
}
red_in() { near_colour "$1" d03030 "$2" "$3" "$4" "$5"; }
blue_in() { near_colour "$1" 3070d0 "$2" "$3" "$4" "$5"; }
green_in() { near_colour "$1" 00ff00 "$2" "$3" "$4" "$5"; }
none_of() {
    local got
    got=$("$@")
    [ "${got:-1}" -eq 0 ] || {
        echo "  $* gave $got, not 0"
        return 1
    }
}
# view_area TITLE-REGEX: "X Y W H" of the stage view from its last paint after the mark (its
# scroll bars report their own paints: the largest area is the view's).
view_area() {
    tail -n +$((mark + 1)) "$events" | grep -E -- "^paint $1 @ " |
        sed -E 's/.* @ ([0-9-]+) ([0-9-]+) ([0-9]+) ([0-9]+)$/\1 \2 \3 \4/' |
        awk '{a = $3 * $4; if (a >= best) {best = a; line = $0}} END {print line}'
}
# The view less its scroll bars (at most 20 pixels each), so only stage pixels are counted.
inner() {
    read -r vx vy vw vh <<<"$1"
    echo "$vx $vy $((vw - 20)) $((vh - 20))"
}

# The first paint is on the default client area (480 x 360); the window is then fitted and
# painted again.
start_editor "$files/big.stage"
fitted_paint() {
    tail -n +$((mark + 1)) "$events" | grep -E '^paint big\.stage @' | grep -vqE ' 480 360$'
}
until_true "the fitted stage window's paint" fitted_paint
main=$(wait_window '^rkedit')
screenshot 1-opened
mark=0
read -r vx vy vw vh <<<"$(view_area 'big\.stage')"
say "view at $vx,$vy ${vw}x$vh"
check "the stage window fits the screen" test $((vx + vw)) -le "$screen_w" -a $((vy + vh)) -le "$screen_h"
# Opened whole: both halves of the picture and the paddle area are in the view.
check "opened whole: the top half" at_least 200 red_in 1-opened "$vx" "$vy" "$vw" "$vh"
check "opened whole: the bottom half" at_least 200 blue_in 1-opened "$vx" "$vy" "$vw" "$vh"
check "opened whole: the paddle area" at_least 200 green_in 1-opened "$vx" "$vy" "$vw" "$vh"

# A right click gives the view the keyboard (the stage windows live inside the main window)
# and places no block; Ctrl+0: 100 %, the top-left of the picture only; the view scrolls.
xdotool mousemove --sync $((vx + 40)) $((vy + 40)) click 3
mark_events
key ctrl+0
wait_event '^paint big\.stage @'
screenshot 2-at-100
read -r vx vy vw vh <<<"$(inner "$(view_area 'big\.stage')")"
# (a 200 x 200 corner of it, which no panel covers; grid lines every 40 and 30 pixels)
check "100 %: the top-left of the picture fills the view" at_least $((200 * 200 * 85 / 100)) \
    red_in 2-at-100 "$vx" "$vy" 200 200
check "100 %: no paddle area in sight" none_of green_in 2-at-100 "$vx" "$vy" "$vw" "$vh"

# End scrolls to the bottom: the paddle area comes into view.
mark_events
key End
wait_event '^paint big\.stage @'
screenshot 3-scrolled-to-the-bottom
check "End: the paddle area at the bottom" at_least 1000 green_in 3-scrolled-to-the-bottom \
    "$vx" "$vy" "$vw" "$vh"
check "End: the bottom half of the picture above it" at_least 1000 blue_in \
    3-scrolled-to-the-bottom "$vx" "$vy" "$vw" "$vh"

# Ctrl+9: the whole stage in the window again.
mark_events
key ctrl+9
wait_event '^paint big\.stage @'
screenshot 4-whole-again
read -r vx vy vw vh <<<"$(view_area 'big\.stage')"
check "Ctrl+9: the top half" at_least 200 red_in 4-whole-again "$vx" "$vy" "$vw" "$vh"
check "Ctrl+9: the bottom half" at_least 200 blue_in 4-whole-again "$vx" "$vy" "$vw" "$vh"
check "Ctrl+9: the paddle area" at_least 200 green_in 4-whole-again "$vx" "$vy" "$vw" "$vh"

# ｳｨﾝﾄﾞｳ -> 並べて表示 and 重ねて表示, for the screenshot.
activate "$main"
key alt+w t
activate "$main"
key alt+w c
screenshot 5-tiled-and-cascaded
journey_end
