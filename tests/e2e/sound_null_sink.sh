#!/usr/bin/env bash
# On a first start the buzzer key sounds the default buzzer file through the sound
# server: a private PulseAudio daemon with a null sink gets a playback stream from
# the program when B is pressed, and none before. Skipped without PulseAudio.
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
played=0
for _ in $(seq 50); do
    sink_inputs | grep -q "application.process.id = \"$APP_PID\"" && { played=1; break; }
    sleep 0.1
done
[ "$played" = 1 ] || e2e_fail "no stream of the program reached the sound server: $(sink_inputs)"
e2e_key Escape
e2e_wait_exit
e2e_pass
