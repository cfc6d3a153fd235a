#!/usr/bin/env bash
# A game ended with Esc is kept, not lost: the game file gives way to
# last-game.json, the next start's splash offers it, and Ctrl+R there opens the
# box with its scores and period, the clock stopped.
source "$(dirname "$0")/lib.sh"
e2e_setup
LAST_GAME="$XDG_STATE_HOME/Tallivox/last-game.json"

e2e_launch
e2e_key Insert Home End p p    # home +1 +2, visitor +2, period 3
e2e_expect_state "home=3 visitor=2 period=3"
e2e_key s
e2e_expect_state "running=true"
e2e_key Escape
e2e_wait_exit
[ "$APP_STATUS" = 0 ] || e2e_fail "Esc ended the program with status $APP_STATUS"
[ ! -e "$GAME_FILE" ] || e2e_fail "Esc left the game file behind"
[ -f "$LAST_GAME" ] || e2e_fail "Esc kept no last game"

e2e_launch_splash
WINDOW_ID="$SPLASH_ID"
e2e_key ctrl+r
WINDOW_ID="$(e2e_wait_window '^Tallivox$')"
e2e_key x                      # a key that does nothing reports the displays
e2e_expect_state "home=3 visitor=2 period=3"
case " $(e2e_last_state) " in *" running=false "*) ;; *) e2e_fail "the resumed clock runs: $(e2e_last_state)" ;; esac
e2e_key Escape
e2e_wait_exit
e2e_pass
