#!/usr/bin/env bash
# The interface's language: under LANG=en_US.UTF-8 the editor starts in English (menu bar,
# properties panel); Help → Language → Japanese is stored, and the next start is Japanese
# although the system still asks for English.
source "$(dirname "$0")/lib.sh"
journey_start language 1366x768
sample=$TESTS/../res/sample/sample.stage
export LANG=en_US.UTF-8

start_editor "$sample"
wait_event '^paint sample\.stage'
check "the properties panel is titled in English" wait_event '^dialog Properties \| '
main=$(wait_window '^rkedit - sample\.stage')
activate "$main"
mark_events
key alt+h
check "the Help menu opens under its English title" wait_event '^menu &Help$'
key l
check "its Language submenu opens" wait_event '^menu &Language$'
screenshot 1-english-language-menu
key j # &Japanese: stored for the next start
check "the choice is stored" until_true "the stored choice" \
    grep -q '^language=ja$' "$XDG_CONFIG_HOME/Local AppWizard-Generated Applications/rkedit.conf"
screenshot 2-english-after-the-choice
check "the panel is still English until the next start" \
    grep -q '^dialog Properties | ' "$events"
kill -TERM "$editor_pid"
wait "$editor_pid" 2>/dev/null

start_editor "$sample"
wait_event '^paint sample\.stage'
check "the next start's properties panel is Japanese" wait_event '^dialog プロパティ \| '
main=$(wait_window '^rkedit - sample\.stage')
activate "$main"
mark_events
key alt+h
check "the Help menu opens under its Japanese title" wait_event '^menu ﾍﾙﾌﾟ\(&H\)$'
key l
check "its 言語 submenu opens" wait_event '^menu 言語\(&L\)$'
screenshot 3-japanese-language-menu
key Escape Escape
kill -TERM "$editor_pid"
wait "$editor_pid" 2>/dev/null
journey_end
