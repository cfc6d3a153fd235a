#!/usr/bin/env bash
# A game outlives a killed program: after SIGKILL the next start shows the same
# scores and period and the game clock as it stood at the kill (within the
# second between saves), stopped, and the box where its last drag left it. A run
# ended with Esc leaves no game behind.
source "$(dirname "$0")/lib.sh"
e2e_setup

e2e_launch
e2e_key Insert Home End p    # home +1 +2, visitor +2, period 2
e2e_expect_state "home=3 visitor=2 period=2"
xdotool mousemove --sync 15 15 mousedown 1
xdotool mousemove --sync 65 45
xdotool mousemove --sync 115 75 mouseup 1
started=$(date +%s%N)
e2e_key s
e2e_expect_state "running=true"
running=$(date +%s%N)
sleep 2.5
kill -KILL "$APP_PID"
killed=$(date +%s%N)
wait "$APP_PID" 2>/dev/null || true
APP_PID=""
[ -f "$GAME_FILE" ] || e2e_fail "no game file was left by the killed run"
[ "$(e2e_setting Views StartX) $(e2e_setting Views StartY)" = "1500 900" ] ||
    e2e_fail "the drag's placement was not saved when it ended: $(e2e_setting Views StartX) $(e2e_setting Views StartY)"

e2e_launch
e2e_key x                    # a key that does nothing reports the displays
state="$(e2e_last_state)"
case " $state " in *" home=3 visitor=2 period=2 "*"running=false"*) ;; *) e2e_fail "not the killed game: $state" ;; esac
# The clock stands where it stood at the kill, to the second: 600 s less the
# time it ran, as the whole seconds a running clock shows (rounded up). It
# started between the key and its report.
shown="$(sed -n 's/.* clock=\([0-9]*\):\([0-9]*\) .*/\1 \2/p' <<<"$state")"
read -r minutes seconds <<<"$shown"
left_ms=$((600000 - (killed - started) / 1000000))
most_left_ms=$((600000 - (killed - running) / 1000000))
shown_ms=$(( (10#$minutes * 60 + 10#$seconds) * 1000 ))
[ "$shown_ms" -ge "$left_ms" ] && [ "$shown_ms" -le $((most_left_ms + 2000)) ] ||
    e2e_fail "the clock shows $minutes:$seconds, but $left_ms to $most_left_ms ms were left at the kill"
sleep 1.2
e2e_key x
e2e_expect_state "clock=$minutes:$seconds"

e2e_key Escape
e2e_wait_exit
[ ! -e "$GAME_FILE" ] || e2e_fail "Esc left the game file behind"
e2e_launch
e2e_key x
e2e_expect_state "home=0 visitor=0 period=1 clock=10:00"
e2e_key Escape
e2e_wait_exit
e2e_pass
