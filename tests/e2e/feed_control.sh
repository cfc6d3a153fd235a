#!/usr/bin/env bash
# The scorer page with the token, in a headless browser: a press on the home
# team's "+2" changes the score in the box and in the feed; with a wrong token
# the page shows the refusal and the game stays as it was. Pictures of the page
# at a tablet's and a phone's size are left in E2E_SHOTS when it is set.
source "$(dirname "$0")/lib.sh"
command -v chromium >/dev/null || { echo "SKIP: $E2E_NAME: no chromium"; exit 77; }
check="$(dirname "$0")/control_check.py"
port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
base="http://127.0.0.1:$port"
token="e2eTokenOf32UrlSafeCharacters-_0"
e2e_setup
mkdir -p "$XDG_CONFIG_HOME/Tallivox"
printf '[FeedSettings]\nFeedEnabled=True\nFeedPort=%s\nControlEnabled=True\nControlToken=%s\n' "$port" "$token" >"$SETTINGS_FILE"
e2e_launch
before="$(e2e_window_shot box1 "$WINDOW_ID")"

python3 "$check" press "$base" "$token" homePlus2 homeScore 2 || e2e_fail "the press on +2"
e2e_until grep -q 'remote command from 127.0.0.1: home-score?add=2$' "$E2E_DIR/app.log" || e2e_fail "the command was not logged"
grep -q "$token" "$E2E_DIR/app.log" && e2e_fail "the token was logged"
after="$(e2e_window_shot box2 "$WINDOW_ID")"
[ "$(compare -metric AE "$before" "$after" null: 2>&1 || true)" != 0 ] || e2e_fail "the box did not change"

python3 "$check" refused "$base" "wrong$token" homePlus2 "Refused: A valid token is needed" || e2e_fail "the wrong token"

if [ -n "${E2E_SHOTS:-}" ]; then
    mkdir -p "$E2E_SHOTS"
    for size in 1024,768 390,844; do
        chromium --headless --disable-gpu --no-sandbox --hide-scrollbars --window-size="$size" \
            --screenshot="$E2E_SHOTS/control-${size/,/x}.png" --virtual-time-budget=2000 "$base/control#token=$token" >/dev/null 2>&1
    done
    cp "$after" "$E2E_SHOTS/box-after.png"
fi
e2e_key Escape
e2e_wait_exit
e2e_pass
