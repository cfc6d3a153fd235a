# Steps shared by the options dialog's end-to-end tests (sourced after lib.sh).
# Points inside the dialog are pixels from its top-left corner as it is laid
# out at its designed size.

# Tab header.
OPTIONS_TAB_TEXT="215 20"
OPTIONS_TAB_GAME="360 20"
OPTIONS_TAB_FEED="426 20"
# Controls.
OPTIONS_START_STOP_LABEL="70 69"
OPTIONS_HOME_NAME_BOX="200 79"
OPTIONS_FEED_ENABLED="20 47"
OPTIONS_FEED_PORT="60 72"
OPTIONS_RULE_SET="125 48"

# F2 in the score box; waits until the dialog is up with the keyboard, and sets
# OPTIONS_ID, OPTIONS_X, OPTIONS_Y. Clicks and keys after it reach the dialog
# in the order they are sent, so none of them waits for the one before.
options_open() {
    e2e_key F2
    OPTIONS_ID="$(e2e_wait_window '^Options$')"
    options_has_keyboard() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$OPTIONS_ID" ]; }
    e2e_until options_has_keyboard || e2e_fail "the options dialog did not take the keyboard"
    options_locate
}

options_locate() {
    eval "$(xdotool getwindowgeometry --shell "$OPTIONS_ID" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/OPTIONS_\1=/p')"
    [ "$OPTIONS_WIDTH" = 484 ] && [ "$OPTIONS_HEIGHT" = 431 ] ||
        e2e_fail "the dialog is ${OPTIONS_WIDTH}x${OPTIONS_HEIGHT}, not 484x431"
}

# Moves the dialog off the score box, so that both can be looked at.
options_move_away() {
    xdotool windowmove --sync "$OPTIONS_ID" 700 500 2>/dev/null || xdotool windowmove "$OPTIONS_ID" 700 500
    options_locate
}

# Clicks a point of the dialog given as "x y".
options_click() {
    local x="${1% *}" y="${1#* }"
    e2e_click $((OPTIONS_X + x)) $((OPTIONS_Y + y))
}

# Sends keys to whatever has the focus in the dialog.
options_key() {
    xdotool key --clearmodifiers "$@"
}

# Waits until the dialog has gone and the box has reported the F2 that opened
# it: the program is done with the dialog.
options_wait_closed() {
    options_gone() { ! xdotool search --onlyvisible --name '^Options$' >/dev/null 2>&1; }
    e2e_until options_gone || e2e_fail "the options dialog is still open"
    e2e_last_state >/dev/null
}
