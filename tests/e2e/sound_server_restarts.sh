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
# The program says when a play found no server (a program that does not look
# for one says nothing, and fails below).
for _ in $(seq 100); do
    grep -q 'no sound server took the clip' "$E2E_DIR/app.log" && break
    sleep 0.05
done
missed=$(date +%s%N)
pulse_start
# A play that finds the server gone is tried again a second later at the earliest.
while [ $(( ($(date +%s%N) - missed) / 1000000 )) -lt 1100 ]; do sleep 0.05; done
e2e_key b
await_stream "" >/dev/null || e2e_fail "after the restart the buzzer did not reach the new server: $(sink_inputs)"
e2e_key Escape
e2e_wait_exit
e2e_pass
