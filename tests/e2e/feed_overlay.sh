#!/usr/bin/env bash
# The live feed's overlay page, in a headless browser, draws the score box as the
# program does: the same colours in the same places, the same digits, the same
# text, transparent where the box's corners are cut. A key that changes the home
# score changes the open page through its socket, there and nowhere else. Once
# with segment digits and once with dot digits and the team fouls band (its lamps
# and arrow are LED cells of their own kinds).
source "$(dirname "$0")/lib.sh"
command -v chromium >/dev/null || { echo "SKIP: $E2E_NAME: no chromium"; exit 77; }
check="$(dirname "$0")/overlay_check.py"
port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
base="http://127.0.0.1:$port"
state() { python3 -c 'import sys, urllib.request; sys.stdout.write(urllib.request.urlopen(sys.argv[1], timeout=5).read().decode())' "$base/state.json"; }
e2e_setup

# $1: the settings' LED type (0 segments, 1 dots), $2 its name in the feed, $3
# whether the box shows the team fouls band.
check_style() {
    local type="$1" style="$2" dir="$E2E_DIR/$2" x y
    mkdir -p "$XDG_CONFIG_HOME/Tallivox" "$dir"
    # The band's box as high as the rows are without it (1170 twips) and the bands (300 each).
    printf '[FeedSettings]\nFeedEnabled=True\nFeedPort=%s\n[PicSettings]\nLEDType=%s\n[GameSettings]\nShowTeamFouls=%s\n[Views]\nHeight=%s\n' \
        "$port" "$type" "$3" "$([ "$3" = True ] && echo 1770 || echo 1170)" >"$SETTINGS_FILE"
    e2e_launch
    # Fouls, a timeout and the arrow, when the band shows them.
    [ "$3" = True ] && e2e_key F F D A
    # A point on the home score and the next period; the game clock stays stopped.
    e2e_key Insert P
    e2e_expect_state "period=2"
    state >"$dir/state.json" || e2e_fail "no state at $base/state.json"
    grep -q "\"style\":\"$style\"" "$dir/state.json" || e2e_fail "the feed does not say $style"
    x="$(xdotool getwindowgeometry --shell "$WINDOW_ID" | sed -n 's/^X=//p')"
    y="$(xdotool getwindowgeometry --shell "$WINDOW_ID" | sed -n 's/^Y=//p')"
    e2e_shot "$style-box1" >/dev/null
    # The page as a whole, as video software would load it.
    read -r w h < <(python3 -c 'import json, sys; b = json.load(open(sys.argv[1]))["box"]; print(b["width"], b["height"])' "$dir/state.json")
    chromium --headless --disable-gpu --no-sandbox --hide-scrollbars --default-background-color=00000000 \
        --window-size="$w,$h" --screenshot="$dir/page.png" --virtual-time-budget=2000 "$base/overlay" >/dev/null 2>&1 ||
        e2e_fail "$style: chromium could not take the page"
    python3 "$check" match "$dir/state.json" "$E2E_DIR/$style-box1.png" "$x" "$y" "$dir/page.png" ||
        e2e_fail "$style: the page does not match the box"

    # The page left open: a point shows through its socket.
    python3 "$check" live "$base/overlay" "$dir" \
        "xdotool windowfocus --sync $WINDOW_ID; xdotool key --clearmodifiers Insert" || e2e_fail "$style: the live page"
    e2e_shot "$style-box2" >/dev/null
    python3 "$check" match "$dir/state.json" "$E2E_DIR/$style-box2.png" "$x" "$y" "$dir/live2.png" ||
        e2e_fail "$style: the page after a point does not match the box"
    python3 "$check" changed "$dir/state.json" "$dir/live1.png" "$dir/live2.png" ddHomeScore ||
        e2e_fail "$style: the point did not show where the home score is"

    e2e_key Escape
    e2e_wait_exit
}

check_style 0 lines False
check_style 1 dots True
e2e_pass
