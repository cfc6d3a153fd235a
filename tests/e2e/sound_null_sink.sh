#!/usr/bin/env bash
# On a first start the buzzer key sounds the default buzzer file through the sound
# server: a private PulseAudio daemon with a null sink gets a playback stream from
# the program when B is pressed, and none before; a second press while it sounds
# starts it again on a new stream, and after the play has ended (its stream gone)
# a press sounds it once more. Skipped without PulseAudio.
source "$(dirname "$0")/lib.sh"
command -v pulseaudio >/dev/null && command -v pactl >/dev/null || { echo "SKIP: no pulseaudio or pactl"; exit 77; }

PULSE_PID=""
sound_cleanup() {
    [ -n "$PULSE_PID" ] && kill "$PULSE_PID" 2>/dev/null || true
    e2e_cleanup
}
trap sound_cleanup EXIT

# The daemon keeps its state in the test's folder and is reached only through its
# own socket, so no real session is touched; timeout ends it if the test cannot.
socket="$XDG_RUNTIME_DIR/pulse-native"
export PULSE_SERVER="unix:$socket" PULSE_COOKIE="$E2E_DIR/pulse-cookie"
env -u DISPLAY -u DBUS_SESSION_BUS_ADDRESS HOME="$E2E_DIR" timeout 110 pulseaudio -n --daemonize=no \
    --exit-idle-time=-1 --use-pid-file=no --log-target=stderr --log-level=error -L module-null-sink \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$socket" 2>"$E2E_DIR/pulse.log" &
PULSE_PID=$!
sink_inputs() { timeout 5 pactl list sink-inputs 2>/dev/null || true; }
# The index of the program's playback stream, or nothing.
program_stream() {
    sink_inputs | awk -v pid="application.process.id = \"$APP_PID\"" \
        '/^Sink Input #/ { id = substr($3, 2) } index($0, pid) { print id; exit }'
}
# Waits up to 5 s for a stream of the program other than the one given; prints it.
await_stream() {
    local now
    for _ in $(seq 50); do
        now="$(program_stream)"
        [ -n "$now" ] && [ "$now" != "$1" ] && { echo "$now"; return 0; }
        sleep 0.1
    done
    return 1
}
for _ in $(seq 100); do
    timeout 5 pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
timeout 5 pactl info >/dev/null 2>&1 || e2e_fail "pulseaudio did not start: $(cat "$E2E_DIR/pulse.log")"

e2e_setup
e2e_launch
sleep 1
[ -z "$(sink_inputs)" ] || e2e_fail "a stream was playing before the buzzer key: $(sink_inputs)"
e2e_key b
first="$(await_stream "")" || e2e_fail "no stream of the program reached the sound server: $(sink_inputs)"
e2e_key b
await_stream "$first" >/dev/null || e2e_fail "a second press while the buzzer sounds did not start it again"
for _ in $(seq 50); do
    [ -z "$(program_stream)" ] && break
    sleep 0.1
done
[ -z "$(program_stream)" ] || e2e_fail "the buzzer did not end within 5 s"
e2e_key b
await_stream "" >/dev/null || e2e_fail "after a play had ended the buzzer key did not sound again"
e2e_key Escape
e2e_wait_exit
e2e_pass
