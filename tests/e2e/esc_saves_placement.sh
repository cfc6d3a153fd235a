#!/usr/bin/env bash
# Esc ends the program and the score box's placement lands in the settings file.
source "$(dirname "$0")/lib.sh"
e2e_setup

mkdir -p "$(dirname "$SETTINGS_FILE")"
printf '[Views]\nStartX=1500\nStartY=900\nHeight=1170\n' >"$SETTINGS_FILE"

e2e_launch
geometry="$(xdotool getwindowgeometry "$WINDOW_ID")"
grep -q 'Position: 100,60' <<<"$geometry" || e2e_fail "box not at the saved position: $geometry"
echo "$geometry" | grep -Eq 'Geometry: [0-9]+x78' || e2e_fail "box not at its designed size: $geometry"

e2e_key Escape
e2e_wait_exit

[ "$(e2e_setting Views StartX)" = 1500 ] || e2e_fail "StartX not saved"
[ "$(e2e_setting Views StartY)" = 900 ] || e2e_fail "StartY not saved"
[ "$(e2e_setting Views Height)" = 1170 ] || e2e_fail "Height not saved"
e2e_pass
