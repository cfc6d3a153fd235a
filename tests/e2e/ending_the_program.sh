#!/usr/bin/env bash
# Every way a run can end normally ends it as Esc does: a window manager's close
# request on the score box, on the shot clock window or on the splash, and
# SIGTERM, SIGINT or SIGHUP. Each ends the process within a second with status 0 and the box's
# placement saved. Without a display the program says so in one line.
source "$(dirname "$0")/lib.sh"
e2e_setup
mkdir -p "$(dirname "$SETTINGS_FILE")"

# Starts the box at a placement of its own and moves it by 30,15 pixels, so a
# saved placement can only come from this run's end.
launch_and_move() {
    printf '[Views]\nStartX=1500\nStartY=900\nHeight=1170\n[AdditionalSettings]\nUseShotClock=True\nShowShotClockScreen=%s\n' \
        "$1" >"$SETTINGS_FILE"
    e2e_launch
    if [ "$1" = True ]; then
        SHOT_CLOCK_ID="$(e2e_wait_window '^Tallivox - Shot Clock$')"
        xdotool windowmove --sync "$SHOT_CLOCK_ID" 700 500 2>/dev/null || xdotool windowmove "$SHOT_CLOCK_ID" 700 500
    fi
    xdotool mousemove --sync 115 75 mousedown 1
    xdotool mousemove --sync 130 82
    xdotool mousemove --sync 145 90 mouseup 1
    moved() { [ "$(xdotool getwindowgeometry "$WINDOW_ID" | sed -n 's/.*Position: \([0-9-]*,[0-9-]*\).*/\1/p')" = 130,75 ]; }
    e2e_until moved || e2e_fail "the drag did not move the box"
}

expect_saved_end() {
    e2e_wait_exit 10
    [ "$APP_STATUS" = 0 ] || e2e_fail "$1: exit status $APP_STATUS"
    [ "$(e2e_setting Views StartX) $(e2e_setting Views StartY) $(e2e_setting Views Height)" = "1950 1125 1170" ] ||
        e2e_fail "$1: placement not saved: $(e2e_setting Views StartX) $(e2e_setting Views StartY) $(e2e_setting Views Height)"
}

launch_and_move False
"$TALLIVOX_WMDELETE" "$WINDOW_ID"
expect_saved_end "close request on the score box"

launch_and_move True
"$TALLIVOX_WMDELETE" "$SHOT_CLOCK_ID"
expect_saved_end "close request on the shot clock window"

for signal in TERM INT HUP; do
    launch_and_move False
    kill -s "$signal" "$APP_PID"
    expect_saved_end "SIG$signal"
done

# On the splash, before the score box exists, a close request ends the run too.
e2e_launch_splash
"$TALLIVOX_WMDELETE" "$SPLASH_ID"
e2e_wait_exit 10
[ "$APP_STATUS" = 0 ] || e2e_fail "close request on the splash: exit status $APP_STATUS"

status=0
message="$(DISPLAY=:9999 QT_QPA_PLATFORM= "$TALLIVOX_BIN" 2>&1)" || status=$?
[ "$status" = 1 ] || e2e_fail "without a display the exit status is $status"
[ "$message" = "tallivox: cannot open display :9999" ] || e2e_fail "without a display it says: $message"
e2e_pass
