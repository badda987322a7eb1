#!/usr/bin/env bash
# Opening what is no stage, and a second editor on a stage that is open already.
source "$(dirname "$0")/lib.sh"
journey_start opening 1366x768

files=$work/files
mkdir -p "$files"
cp "$TESTS/../res/sample/sample.stage" "$TESTS/../res/sample/sample.JPG" "$files/"
convert -size 64x48 xc:'#20a060' "$files/picture.png"
cp "$files/picture.png" "$work/picture.before"

# A PNG given on the command line: the message names it and says why, and no stage window
# opens under its name.
start_editor "$files/picture.png"
wait_event '^dialog .*\| ファイルをオープンできません。 / .*picture\.png: ステージファイルではありません。'
screenshot 1-png-refused
key Return
main=$(wait_window '^rkedit$')
check "the main window is shown" test -n "$main"
activate "$main"
mark_events
# Ctrl+S has nothing to save; Ctrl+N after it opens a new stage once both have been handled.
key ctrl+s ctrl+n
wait_event '^paint RKedit1 @'
screenshot 2-after-png
check "the PNG is unchanged" cmp -s "$files/picture.png" "$work/picture.before"
check "no window is named after the PNG" no_window 'picture\.png'
check "no stage window opened under the PNG's name" \
    bash -c "! grep -Eq '^(window|paint) picture' '$events'"
kill -TERM "$editor_pid"
wait "$editor_pid" 2>/dev/null

# The sample stage in one editor, then a second editor on the same file: it asks first.
mark_events
start_editor "$files/sample.stage"
wait_event '^paint sample\.stage @'
screenshot 3-first-editor
mark_events
start_editor "$files/sample.stage"
wait_event '^dialog .*\| .*sample\.stage は別の rkedit'
screenshot 4-second-editor-asks
# The default answer opens it read-only, which its title says.
key Return
wait_event '^paint sample\.stage \(読み取り専用\) @'
screenshot 5-read-only
check "the read-only window says so" event_after_mark '^window sample\.stage \(読み取り専用\)'
journey_end
