#!/usr/bin/env bash
# On a first start the buzzer key sounds the default buzzer file through the sound
# server: a private PulseAudio daemon with a null sink gets a playback stream from
# the program when B is pressed, and none before; a second press while it sounds
# starts it again on a new stream, and after the play has ended (its stream gone)
# a press sounds it once more; a streamed buzzer of float samples sounds too. Skipped
# without PulseAudio.
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
await_no_stream || e2e_fail "the buzzer did not end"
e2e_key b
await_stream "" >/dev/null || e2e_fail "after a play had ended the buzzer key did not sound again"
e2e_key Escape
e2e_wait_exit

# A buzzer of 32-bit float samples (a second of a quarter of full scale, 8 kHz
# mono) as a recorder streams it, its sizes left at 0xFFFFFFFF, plays as well.
float_wav="$E2E_DIR/float.wav"
{
    printf 'RIFF\xff\xff\xff\xffWAVEfmt \x10\x00\x00\x00\x03\x00\x01\x00\x40\x1f\x00\x00'
    printf '\x00\x7d\x00\x00\x04\x00\x20\x00data\xff\xff\xff\xff'
    printf '\x00\x00\x80\x3e%.0s' $(seq 8000)
} >"$float_wav"
mkdir -p "$(dirname "$SETTINGS_FILE")"
printf '[KeySettings]\nBuzzerFile=%s\n' "$float_wav" >"$SETTINGS_FILE"
e2e_launch
e2e_key b
await_stream "" >/dev/null || e2e_fail "the float buzzer did not reach the sound server: $(sink_inputs)"
e2e_key Escape
e2e_wait_exit
e2e_pass
