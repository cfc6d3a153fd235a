#!/usr/bin/env bash
# A mistake is taken back live: Insert, Insert, Ctrl+Z leaves the home score at
# 1, in the box and in the feed; Ctrl+Shift+Z brings the 2 back, and so does
# Ctrl+Y after another undo. A shot clock blanked with the clear key is still
# blank after the program is killed and started again.
source "$(dirname "$0")/lib.sh"
command -v curl >/dev/null || { echo "curl is missing"; exit 77; }
port="$(e2e_free_port)"
mkdir -p "$XDG_CONFIG_HOME/Tallivox"
printf '[FeedSettings]\nFeedEnabled=True\nFeedPort=%s\n[AdditionalSettings]\nUseShotClock=True\n' "$port" >"$SETTINGS_FILE"
e2e_setup
e2e_launch

# Waits (10 s at most) until the feed serves the home score `want`.
expect_feed_home() {
    local got=""
    for _ in $(seq 100); do
        got="$(curl -s --max-time 2 "http://127.0.0.1:$port/state.json" | sed -n 's/.*"homeScore":\([0-9-]*\).*/\1/p')"
        [ "$got" = "$1" ] && return 0
        sleep 0.1
    done
    e2e_fail "the feed says home $got, not $1"
}

e2e_key Insert Insert
e2e_expect_state "home=2"
e2e_key ctrl+z
e2e_expect_state "home=1"
expect_feed_home 1
e2e_key ctrl+shift+z
e2e_expect_state "home=2"
expect_feed_home 2
e2e_key ctrl+z
e2e_expect_state "home=1"
e2e_key ctrl+y
e2e_expect_state "home=2"

# The shot clock display sits at the right of the score and time block.
e2e_click_score_time 184 40
e2e_key BackSpace
e2e_expect_state "shot="
for _ in $(seq 100); do
    grep -q '"shotClockBlank": true' "$GAME_FILE" 2>/dev/null && break
    sleep 0.1
done
grep -q '"shotClockBlank": true' "$GAME_FILE" || e2e_fail "the blank shot clock never reached the game file"
kill -KILL "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
APP_PID=""

e2e_launch
e2e_key x
e2e_expect_state "home=2"
e2e_expect_state "shot="
e2e_key Escape
e2e_wait_exit
e2e_pass
