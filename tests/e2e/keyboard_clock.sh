#!/usr/bin/env bash
# S starts the game clock and stops it again; R puts it back to 10:00.
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_launch
start="$(e2e_shot start)"

e2e_key s
e2e_expect_state "running=true"
running1="$(e2e_shot running1)"
sleep 1.1
running2="$(e2e_shot running2)"
e2e_same_screens "$running1" "$running2" && e2e_fail "the running clock did not change in a second"

# Looked at only once the stop has been handled, and after the repaint it asks for.
e2e_key s
e2e_expect_state "running=false"
sleep 0.2
stopped1="$(e2e_shot stopped1)"
sleep 1.1
stopped2="$(e2e_shot stopped2)"
e2e_same_screens "$stopped1" "$stopped2" || e2e_fail "the stopped clock still changes"

e2e_key r
e2e_expect_state "clock=10:00"
reset="$(e2e_shot reset)"
e2e_same_screens "$start" "$reset" || e2e_fail "after R the box does not look as at the start"

# Shift+S acts like S.
e2e_key shift+s
e2e_expect_state "running=true"

e2e_key Escape
e2e_wait_exit
e2e_pass
