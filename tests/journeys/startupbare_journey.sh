#!/usr/bin/env bash
# The start-up journey on a bare X server: no window manager fits or maps the windows.
export JOURNEY_WINDOW_MANAGER=none STARTUP_JOURNEY_NAME=startupbare
exec bash "$(dirname "$0")/startup_journey.sh" "$@"
