#!/usr/bin/env bash
# Sound comes back once a sound server is there: the program starts with none
# (the buzzer is silent, and nothing stalls), the server starts during the game,
# and the next press of B a second later reaches it, as does each press after
# the clip has ended.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pulse_helpers.bash"

e2e_setup
e2e_launch
e2e_key b
await_missed_server
e2e_key s
e2e_expect_state "running=true"
pulse_start
await_next_look
[ -z "$(sink_inputs)" ] || e2e_fail "a stream was playing before the buzzer key: $(sink_inputs)"
e2e_key b
first="$(await_stream "")" || e2e_fail "the buzzer did not reach the server that started late: $(sink_inputs)"
await_no_stream || e2e_fail "the buzzer did not end"
e2e_key b
await_stream "" >/dev/null || e2e_fail "after a play had ended the buzzer key did not sound again"
e2e_key s
e2e_expect_state "running=false"
e2e_key Escape
e2e_wait_exit
e2e_pass
