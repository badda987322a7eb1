#!/usr/bin/env bash
# The panel-fit journey on a 1920 x 1080 screen.
PANELFIT_JOURNEY_SCREEN=1920x1080 exec bash "$(dirname "$0")/panelfit_journey.sh" "$@"
