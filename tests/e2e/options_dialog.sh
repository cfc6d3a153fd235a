#!/usr/bin/env bash
# The options dialog over a running game. F2 opens it while the game clock runs:
# the clock keeps counting behind it, keys go to the dialog and not to the box,
# Escape closes it without a change, and the keys are the box's again. Then a
# second visit rebinds start/stop from S to G and names the home team: after OK
# both are stored, G runs the clock and S does nothing. A third and a fourth
# start the live feed and move it to another port, at once; a fifth chooses the
# NBA rules, and the box plays by them. Neither the dialog nor help opens over
# the box, which may be on air.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options_helpers.bash"
e2e_setup
e2e_launch

e2e_key s
e2e_expect_state "running=true"
options_open
e2e_expect_apart "$OPTIONS_ID" "$WINDOW_ID" "the options dialog covers the box"
options_move_away
before="$(e2e_window_shot counting1 "$WINDOW_ID")"
counts() { ! e2e_same_screens "$before" "$(e2e_window_shot counting2 "$WINDOW_ID")"; }
e2e_until counts || e2e_fail "the clock stood still while the dialog was open"

# R would reset the clock in the box; here it only reaches the dialog.
options_key r
options_key Escape
options_wait_closed
state="$(e2e_last_state)"
case "$state" in
    *"key 113:"*"running=true"*) ;;
    *) e2e_fail "after the dialog the program reports: $state" ;;
esac
case "$state" in *"clock=10:00"*) e2e_fail "a key in the dialog reached the box: $state" ;; esac
[ -f "$SETTINGS_FILE" ] && grep -q "HomeText" "$SETTINGS_FILE" && e2e_fail "Cancel wrote the settings"

# The keyboard is the box's again at once: with no window manager to hand it
# back, a key sent wherever the focus now is, with the pointer off the box,
# must still stop the clock.
xdotool mousemove 1200 1000
options_key s
e2e_expect_state "running=false"

options_open
options_click "$OPTIONS_START_STOP_LABEL"
# R belongs to reset clock: refused, the label keeps waiting for another.
options_key r
options_key g
options_click "$OPTIONS_TAB_TEXT"
options_click "$OPTIONS_HOME_NAME_BOX"
options_key ctrl+a
xdotool type --delay 30 "Lakers"
options_key alt+o
options_wait_closed
e2e_until e2e_setting_is KeySettings StartStopClockKey 71 || e2e_fail "G was not stored for start/stop"
e2e_setting_is KeySettings ResetClockKey 82 || e2e_fail "reset clock lost its key"
e2e_setting_is TextSettings HomeText Lakers || e2e_fail "the name was not stored"

e2e_key s
e2e_expect_state "running=false"
e2e_key g
e2e_expect_state "running=true"
e2e_key g
e2e_expect_state "running=false"

# The feed starts with OK, and moves with the next.
feed_port() {
    options_open
    options_click "$OPTIONS_TAB_FEED"
    [ -n "${1:-}" ] && options_click "$OPTIONS_FEED_ENABLED"
    options_click "$OPTIONS_FEED_PORT"
    options_key ctrl+a
    xdotool type --delay 30 "$port"
    options_key alt+o
    options_wait_closed
}
home_name_on() { curl -s --max-time 2 "http://127.0.0.1:$1/state.json" | sed -n 's/.*"homeName":"\([^"]*\)".*/\1/p'; }
serves_lakers() { [ "$(home_name_on "$1")" = Lakers ]; }
port="$(e2e_free_port)"
feed_port enable
e2e_until e2e_setting_is FeedSettings FeedEnabled True || e2e_fail "the feed was not stored as on"
e2e_until serves_lakers "$port" || e2e_fail "no feed on port $port after OK"
port=$((port + 1))
feed_port
e2e_until e2e_setting_is FeedSettings FeedPort "$port" || e2e_fail "the new port was not stored"
e2e_until serves_lakers "$port" || e2e_fail "the feed did not move to port $port"
[ -z "$(home_name_on $((port - 1)))" ] || e2e_fail "the feed still serves on the old port"

# The NBA rule set switches the shot clock on: the box resets it to 24 at once.
options_open
options_click "$OPTIONS_TAB_GAME"
options_click "$OPTIONS_RULE_SET"
options_key Down Down Return
options_key alt+o
options_wait_closed
e2e_until e2e_setting_is GameSettings RuleSet NBA || e2e_fail "the NBA rule set was not stored"
e2e_setting_is GameSettings PeriodLength 12 || e2e_fail "the NBA period length was not stored"
e2e_key t
e2e_expect_state "shot=24"

# Help opens off the box as well.
e2e_key F1
e2e_expect_apart "$(e2e_wait_window '^Tallivox Help$')" "$WINDOW_ID" "the help window covers the box"

e2e_key Escape
e2e_wait_exit
e2e_pass
