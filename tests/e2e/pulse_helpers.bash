# A private PulseAudio daemon with a null sink for the sound tests (sourced after
# lib.sh). It keeps its state in the test's folder and is reached only through
# its own socket, so no real session is touched; timeout ends it if the test
# cannot. Tests are skipped without PulseAudio.
command -v pulseaudio >/dev/null && command -v pactl >/dev/null || { echo "SKIP: no pulseaudio or pactl"; exit 77; }

PULSE_PID=""
pulse_cleanup() {
    [ -n "$PULSE_PID" ] && kill "$PULSE_PID" 2>/dev/null || true
    e2e_cleanup
}
trap pulse_cleanup EXIT

PULSE_SOCKET="$XDG_RUNTIME_DIR/pulse-native"
export PULSE_SERVER="unix:$PULSE_SOCKET" PULSE_COOKIE="$E2E_DIR/pulse-cookie"

pulse_start() {
    env -u DISPLAY -u DBUS_SESSION_BUS_ADDRESS HOME="$E2E_DIR" timeout 110 pulseaudio -n --daemonize=no \
        --exit-idle-time=-1 --use-pid-file=no --log-target=stderr --log-level=error -L module-null-sink \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$PULSE_SOCKET" 2>"$E2E_DIR/pulse.log" &
    PULSE_PID=$!
    for _ in $(seq 100); do
        timeout 5 pactl info >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    e2e_fail "pulseaudio did not start: $(cat "$E2E_DIR/pulse.log")"
}

# Kills the server as a crash would (SIGKILL to the daemon itself, not to the
# timeout that runs it) and waits until it is gone.
pulse_kill() {
    local daemon
    daemon="$(tr -s ' ' '\n' <"/proc/$PULSE_PID/task/$PULSE_PID/children" 2>/dev/null | head -n1)"
    [ -n "$daemon" ] || e2e_fail "no pulseaudio under $PULSE_PID"
    kill -KILL "$daemon"
    wait "$PULSE_PID" 2>/dev/null || true
    PULSE_PID=""
}

sink_inputs() { timeout 5 pactl list sink-inputs 2>/dev/null || true; }

# The index of the program's playback stream, or nothing.
program_stream() {
    sink_inputs | awk -v pid="application.process.id = \"$APP_PID\"" \
        '/^Sink Input #/ { id = substr($3, 2) } index($0, pid) { print id; exit }'
}

# Waits for a stream of the program other than the one given; prints it.
await_stream() {
    local now=""
    new_stream() { now="$(program_stream)"; [ -n "$now" ] && [ "$now" != "$1" ]; }
    e2e_until new_stream "$1" && echo "$now"
}

# Waits for the program's streams to end.
await_no_stream() {
    no_stream() { [ -z "$(program_stream)" ]; }
    e2e_until no_stream
}

# Waits until the program says a play found no sound server (a program that does
# not look for one says nothing, and fails on what follows), and notes when.
await_missed_server() {
    e2e_until grep -q 'no sound server took the clip' "$E2E_DIR/app.log" || true
    MISSED_AT=$(date +%s%N)
}

# A server is looked for again at a play a second after the last try at the
# earliest: waits until that second has passed, however long the steps since took.
await_next_look() {
    while [ $(( ($(date +%s%N) - MISSED_AT) / 1000000 )) -lt 1100 ]; do sleep 0.05; done
}
