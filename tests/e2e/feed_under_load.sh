#!/usr/bin/env bash
# With the live feed on, 200 held connections and a WebSocket client that never
# reads while the operator scores and the clock runs: the feed still answers, the
# scores are all there and the clock is on time. A port already in use is said,
# and the program runs on without a feed.
source "$(dirname "$0")/lib.sh"
command -v curl >/dev/null || { echo "curl is missing"; exit 77; }
port="$(e2e_free_port)"
mkdir -p "$XDG_CONFIG_HOME/Tallivox"
printf '[FeedSettings]\nFeedEnabled=True\nFeedPort=%s\n' "$port" >"$SETTINGS_FILE"
e2e_setup
e2e_launch

state() { curl -s --max-time 2 "http://127.0.0.1:$port/state.json"; }
field() { sed -n "s/.*\"$1\":\([0-9]*\).*/\1/p"; }
[ "$(state | field homeScore)" = 0 ] || e2e_fail "no feed on port $port"

# 45.6 s on the game clock: below a minute every tenth is shown, and sent.
e2e_click_score_time 100 58
e2e_key 0 period 4 5 6 Return
e2e_expect_state "clock=45.6"
e2e_key s
tenths_in() { sed -n 's/.*"gameClock":{[^}]*"tenths":\([0-9]*\).*/\1/p'; }
# A live client that never reads what it is sent, connected first so it keeps
# its place, then held connections. The program closes the ones over its limit:
# writing to those must not end this script.
trap '' PIPE
exec {deaf}<>"/dev/tcp/127.0.0.1/$port"
printf 'GET /live HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n' >&"$deaf"
held=()
for _ in $(seq 200); do
    exec {fd}<>"/dev/tcp/127.0.0.1/$port"
    held+=("$fd")
    printf 'GET /state.json HTTP/1.1\r\n' >&"$fd" || true
done
for _ in $(seq 30); do e2e_key Insert; done
e2e_expect_state "home=30"
for fd in "${held[@]}"; do exec {fd}>&-; done
# Places free again: the feed answers, and over the next second and a half the
# clock counts real time (each tenth is sent as it is shown). Each read is timed
# from before it was asked to after it came, however slow the machine made it.
first=""
answered_first() { asked1=$(date +%s%N); first="$(state)"; came1=$(date +%s%N); [ -n "$first" ]; }
e2e_until answered_first || e2e_fail "the feed did not answer once the connections were closed"
sleep 1.5
asked2=$(date +%s%N)
json="$(state)"
came2=$(date +%s%N)
[ "$(echo "$json" | field homeScore)" = 30 ] || e2e_fail "the home score is not 30: $json"
# Between the two reads the clock counted down as much as real time passed, to a
# tenth or two for the reads' own time.
counted=$(( $(echo "$first" | tenths_in) - $(echo "$json" | tenths_in) ))
least=$(( (asked2 - came1) / 100000000 )); most=$(( (came2 - asked1) / 100000000 ))
[ "$counted" -ge $((least - 2)) ] && [ "$counted" -le $((most + 2)) ] \
    || e2e_fail "the clock counted $counted tenths in $least to $most"
exec {deaf}>&-

# Another user's copy (another state folder: only one copy runs per user) finds
# the port taken: it says so and runs on.
second_log="$E2E_DIR/second.log"
XDG_STATE_HOME="$E2E_DIR/other-state" "$TALLIVOX_BIN" >"$second_log" 2>&1 &
second=$!
for _ in $(seq 100); do grep -q "Cannot serve the feed" "$second_log" && break; sleep 0.05; done
grep -q "tallivox: Cannot serve the feed on 127.0.0.1 port $port: The bound address is already in use" "$second_log" \
    || e2e_fail "the second copy did not say the port is in use: $(cat "$second_log")"
kill -0 "$second" || e2e_fail "the second copy ended"
kill "$second"
[ "$(state | field homeScore)" = 30 ] || e2e_fail "the first copy's feed is gone"

e2e_key Escape
e2e_wait_exit
e2e_pass
