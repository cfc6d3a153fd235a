#!/usr/bin/env bash
# Start/stop rebound from S to G in the options dialog: after OK, G runs the
# clock and S does nothing; the binding is stored.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options_helpers.bash"
e2e_setup
e2e_launch

options_open
waiting_before="$(e2e_shot idle_dialog)"
options_click "$OPTIONS_START_STOP_LABEL"
waiting="$(e2e_shot waiting)"
e2e_same_screens "$waiting_before" "$waiting" && e2e_fail "the key label did not start waiting"
# R belongs to reset clock: refused, the label keeps waiting for another.
options_key r
options_key g
options_key alt+o
options_wait_closed
[ "$(e2e_setting KeySettings StartStopClockKey)" = 71 ] || e2e_fail "G was not stored for start/stop"
[ "$(e2e_setting KeySettings ResetClockKey)" = 82 ] || e2e_fail "reset clock lost its key"

e2e_key s
e2e_expect_state "running=false"
e2e_key g
e2e_expect_state "running=true"
e2e_key g
e2e_expect_state "running=false"

e2e_key Escape
e2e_wait_exit
e2e_pass
