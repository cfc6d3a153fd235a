#!/usr/bin/env bash
# A home team name typed in the options dialog shows on the box after OK, is
# stored, and is there again after a restart.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options_helpers.bash"
e2e_setup
e2e_launch
original="$(e2e_shot original)"

options_open
options_click "$OPTIONS_TAB_TEXT"
options_click "$OPTIONS_HOME_NAME_BOX"
options_key ctrl+a
xdotool type --delay 30 "Lakers"
sleep 0.2
options_key alt+o
options_wait_closed
sleep 0.3
renamed="$(e2e_shot renamed)"
e2e_same_screens "$original" "$renamed" && e2e_fail "the box did not change with the new name"
[ "$(e2e_setting TextSettings HomeText)" = "Lakers" ] || e2e_fail "the name was not stored"

e2e_key Escape
e2e_wait_exit
e2e_launch
restarted="$(e2e_shot restarted)"
e2e_same_screens "$renamed" "$restarted" || e2e_fail "after a restart the box does not show the name as before"

e2e_key Escape
e2e_wait_exit
e2e_pass
