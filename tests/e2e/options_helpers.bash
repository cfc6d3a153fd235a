# Steps shared by the options dialog's end-to-end tests (sourced after lib.sh).
# Points inside the dialog are pixels from its top-left corner as it is laid
# out at its designed size.

# Tab header.
OPTIONS_TAB_TEXT="215 20"
OPTIONS_TAB_FEED="373 20"
# Controls.
OPTIONS_START_STOP_LABEL="70 69"
OPTIONS_HOME_NAME_BOX="200 79"
OPTIONS_FEED_ENABLED="20 47"
OPTIONS_FEED_PORT="60 72"

# F2 in the score box; waits for the dialog and sets OPTIONS_ID, OPTIONS_X, OPTIONS_Y.
options_open() {
    e2e_key F2
    OPTIONS_ID=""
    for _ in $(seq 100); do
        OPTIONS_ID="$(xdotool search --onlyvisible --name '^Options$' 2>/dev/null | head -n1 || true)"
        [ -n "$OPTIONS_ID" ] && break
        sleep 0.05
    done
    [ -n "$OPTIONS_ID" ] || e2e_fail "F2 did not open the options dialog"
    sleep 0.3
    options_locate
}

options_locate() {
    eval "$(xdotool getwindowgeometry --shell "$OPTIONS_ID" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/OPTIONS_\1=/p')"
    [ "$OPTIONS_WIDTH" = 430 ] && [ "$OPTIONS_HEIGHT" = 381 ] ||
        e2e_fail "the dialog is ${OPTIONS_WIDTH}x${OPTIONS_HEIGHT}, not 430x381"
}

# Moves the dialog off the score box, so that both can be looked at.
options_move_away() {
    xdotool windowmove --sync "$OPTIONS_ID" 700 500 2>/dev/null || xdotool windowmove "$OPTIONS_ID" 700 500
    sleep 0.3
    options_locate
}

# Clicks a point of the dialog given as "x y".
options_click() {
    local x="${1% *}" y="${1#* }"
    e2e_click $((OPTIONS_X + x)) $((OPTIONS_Y + y))
    sleep 0.2
}

# Sends keys to whatever has the focus in the dialog.
options_key() {
    xdotool key --clearmodifiers "$@"
    sleep 0.2
}

options_wait_closed() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^Options$' >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    e2e_fail "the options dialog is still open"
}

# The score box alone, cut from a screenshot.
options_box_shot() {
    local name="$1" X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$E2E_DIR/$name.png"
    echo "$E2E_DIR/$name.png"
}
