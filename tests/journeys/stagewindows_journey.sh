#!/usr/bin/env bash
# A new block layout; one stage in two windows; a placement choice. Checked on the screen.
source "$(dirname "$0")/lib.sh"
journey_start stagewindows 1366x768

files=$work/files
mkdir -p "$files"
convert -size 200x150 xc:'#3070d0' "$files/pic.jpg"
# A 200 x 150 picture, 10 x 10 blocks, five placed in the top row.
printf 'version=RK&graphic1=pic.jpg&graphicWidth=200&graphicHeight=150&blockWidth=10&blockHeight=10&block=1,1,1,1,1,&' \
    >"$files/s.stage"

start_editor "$files/s.stage"
wait_event '^paint s\.stage @'
wait_event '^control プロパティ c1002 '
screenshot 1-opened
main=$(wait_window '^rkedit')

# A new block layout in the panel: applied at the OK; the status bar says how many blocks
# went.
mark_events
click_control プロパティ c1002
wait_event '^dialog 新規ブロックの作成'
key ctrl+a
type_text 20
key Tab ctrl+a
type_text 15
mark_events
key Return
wait_event '^paint s\.stage\* @'
screenshot 2-new-block-layout
check "the new layout cleared the five blocks at once" \
    wait_event '^status ブロックサイズを 20 × 15 にしました。ブロック 5 個を消去しました。'

# ｳｨﾝﾄﾞｳ -> 新しいｳｨﾝﾄﾞｳを開く, then 並べて表示 so both can be seen.
activate "$main"
mark_events
key alt+w n
wait_event '^paint s\.stage:2\* @'
mark_events
activate "$main"
key alt+w t
wait_event '^paint s\.stage:1\* @'
wait_event '^paint s\.stage:2\* @'
screenshot 3-two-windows
# The top-left corner of each window (a panel may cover the rest of one).
for n in 1 2; do
    read -r vx vy vw vh <<<"$(view_area "s\\.stage:$n\\*")"
    check "window $n shows the picture" \
        at_least 5000 count_colour 3-two-windows 3070d0 "$vx" "$((vy + 20))" 80 100
done

# The placement tool: the grid goes at the click.
activate "$main"
mark_events
key alt+w Right a
wait_event '^control 配置ツール c1057 '
screenshot 4-placement-tool
read -r vx vy vw vh <<<"$(grep -E '^paint s\.stage:2\* @' "$events" | tail -n 1 | sed -E 's/.* @ //')"
mark_events
click_control 配置ツール c1057
wait_event '^paint s\.stage:2\* @'
screenshot 5-grid-hidden
changed() {
    convert "$work/4-placement-tool.ppm" -crop "${vw}x${vh}+${vx}+${vy}" +repage "$work/a.ppm" &&
        convert "$work/5-grid-hidden.ppm" -crop "${vw}x${vh}+${vx}+${vy}" +repage "$work/b.ppm" &&
        compare -metric AE "$work/a.ppm" "$work/b.ppm" null: 2>&1 >/dev/null
}
check "the grid went at the click" at_least 100 changed
journey_end
