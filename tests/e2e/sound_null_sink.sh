#!/usr/bin/env bash
# On a first start the buzzer key sounds the default buzzer file through the sound
# server: a private PulseAudio daemon with a null sink gets a playback stream from
# the program when B is pressed, and none before; a second press while it sounds
# starts it again on a new stream, and after the play has ended (its stream gone)
# a press sounds it once more. Skipped without PulseAudio.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/pulse_helpers.bash"
pulse_start

e2e_setup
e2e_launch
sleep 1
[ -z "$(sink_inputs)" ] || e2e_fail "a stream was playing before the buzzer key: $(sink_inputs)"
e2e_key b
first="$(await_stream "")" || e2e_fail "no stream of the program reached the sound server: $(sink_inputs)"
e2e_key b
await_stream "$first" >/dev/null || e2e_fail "a second press while the buzzer sounds did not start it again"
await_no_stream || e2e_fail "the buzzer did not end within 5 s"
e2e_key b
await_stream "" >/dev/null || e2e_fail "after a play had ended the buzzer key did not sound again"
e2e_key Escape
e2e_wait_exit
e2e_pass
