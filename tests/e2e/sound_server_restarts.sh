#!/usr/bin/env bash
# Sound comes back after the sound server restarts: a press of B plays; the
# server is killed, a press finds it gone, and it is started again on the same
# socket; the next press of B after it is back (a second after the last try)
# plays through the new server. Skipped without PulseAudio.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pulse_helpers.bash"
pulse_start

e2e_setup
e2e_launch
e2e_key b
await_stream "" >/dev/null || e2e_fail "before the restart the buzzer did not reach the server: $(sink_inputs)"
await_no_stream || e2e_fail "the buzzer did not end within 5 s"

pulse_kill
e2e_key b
await_missed_server
pulse_start
await_next_look
e2e_key b
await_stream "" >/dev/null || e2e_fail "after the restart the buzzer did not reach the new server: $(sink_inputs)"
e2e_key Escape
e2e_wait_exit
e2e_pass
