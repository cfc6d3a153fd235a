#!/usr/bin/env bash
# The live feed of the real program against clients nobody here wrote: Python's
# websockets (a thousand sessions ended every way, origins, an unmasked frame),
# ApacheBench with and without keep-alive, and slowhttptest trickling headers and
# bodies while a poller must still be answered.
source "$(dirname "$0")/lib.sh"
# Debian's own Python, which the websockets package is installed for.
python=/usr/bin/python3
for tool in curl ab slowhttptest "$python"; do
    command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 77; }
done
"$python" -c 'import websockets' 2>/dev/null || { echo "python3-websockets is missing"; exit 77; }
port="$(e2e_free_port)"
url="http://127.0.0.1:$port/state.json"
mkdir -p "$XDG_CONFIG_HOME/Tallivox"
printf '[FeedSettings]\nFeedEnabled=True\nFeedPort=%s\n' "$port" >"$SETTINGS_FILE"
e2e_setup
e2e_launch
e2e_key Insert
e2e_expect_state "home=1"
answered() { curl -s --max-time 3 "$url" | grep -q '"homeScore":1'; }
# The feed hears of the point from the box, on its own thread.
e2e_until answered || e2e_fail "no feed on port $port"

"$python" "$(dirname "$0")/feed_clients.py" "$port" || e2e_fail "the WebSocket client found a fault"
answered || e2e_fail "the feed stopped answering after the WebSocket sessions"

# Without keep-alive each answer ends its connection, at once.
timeout 20 ab -q -n 3 -c 1 "$url" >"$E2E_DIR/ab1.log" 2>&1 || e2e_fail "ab -n 3 did not finish: $(tail -3 "$E2E_DIR/ab1.log")"
for keep in "" "-k"; do
    timeout 60 ab -q $keep -c 32 -n 20000 "$url" >"$E2E_DIR/ab.log" 2>&1 || e2e_fail "ab $keep did not finish: $(tail -5 "$E2E_DIR/ab.log")"
    grep -q '^Complete requests: *20000$' "$E2E_DIR/ab.log" && grep -q '^Failed requests: *0$' "$E2E_DIR/ab.log" \
        && ! grep -q '^Non-2xx' "$E2E_DIR/ab.log" || e2e_fail "ab $keep: $(cat "$E2E_DIR/ab.log")"
done

# Trickled headers (-H) and bodies (-B) from a hundred connections: a poller is
# still answered every time.
for mode in -H -B; do
    slowhttptest $mode -c 100 -r 50 -i 5 -l 10 -p 3 -u "$url" >"$E2E_DIR/slow.log" 2>&1 &
    slow=$!
    sleep 2
    for i in $(seq 10); do
        answered || { kill "$slow"; e2e_fail "a poll $i during slowhttptest $mode got no answer"; }
        sleep 0.5
    done
    wait "$slow" || true
done
answered || e2e_fail "the feed stopped answering after slowhttptest"

e2e_key Escape
e2e_wait_exit
e2e_pass
