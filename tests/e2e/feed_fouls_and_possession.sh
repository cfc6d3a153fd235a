#!/usr/bin/env bash
# Team fouls and possession reach the feed from real keys: F F F J A gives home 3
# fouls, the visitors 1 and the ball to home, and Ctrl+Z takes the possession
# back. Under the NBA rules with tenths, the shot clock reset and started reads
# "24" at first and "4.x" within its last five seconds in the feed; /vmix.json is
# one row of texts.
source "$(dirname "$0")/lib.sh"
for tool in curl python3; do
    command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 77; }
done
port="$(e2e_free_port)"
mkdir -p "$XDG_CONFIG_HOME/Tallivox"
printf '[FeedSettings]\nFeedEnabled=True\nFeedPort=%s\n[GameSettings]\nRuleSet=NBA\nShotClockTenths=True\n[AdditionalSettings]\nUseShotClock=True\nShotClockResetTime=24\n' \
    "$port" >"$SETTINGS_FILE"
e2e_setup
e2e_launch

# Whether the feed's /state.json (or the path given second) holds for the Python
# expression over it, `s`; what it served last is kept in last.json.
feed_says() {
    curl -s --max-time 2 "http://127.0.0.1:$port${2:-/state.json}" >"$E2E_DIR/last.json" || return 1
    python3 -c "import json, re, sys; s = json.load(open(sys.argv[1])); sys.exit(0 if ($1) else 1)" \
        "$E2E_DIR/last.json" 2>/dev/null
}
expect_feed() {
    e2e_until feed_says "$@" || e2e_fail "the feed never had $1: $(cat "$E2E_DIR/last.json")"
}

e2e_key f f f j a
expect_feed 's["homeFouls"] == 3 and s["visitorFouls"] == 1 and s["possession"] == "home" and s["ruleSet"] == "NBA"'
e2e_key ctrl+z
expect_feed 's["possession"] == "none" and s["homeFouls"] == 3 and s["visitorFouls"] == 1'

e2e_key t
expect_feed 's["shotClock"]["text"] == "24" and not s["shotClock"]["running"]'
e2e_key s
expect_feed 's["shotClock"]["running"]'
# One poller, quick however busy the machine: the first state it gets within the
# shot clock's last five seconds must read tenths.
python3 - "$port" <<'EOF' || e2e_fail "the shot clock in its last seconds reads otherwise"
import json, re, sys, time, urllib.request
deadline = time.monotonic() + 60
while time.monotonic() < deadline:
    with urllib.request.urlopen(f"http://127.0.0.1:{sys.argv[1]}/state.json", timeout=2) as answer:
        shot = json.load(answer)["shotClock"]
    if shot["seconds"] <= 4:
        print("shot clock:", shot)
        sys.exit(0 if re.fullmatch(r"\d\.\d", shot["text"]) else 1)
    time.sleep(0.05)
sys.exit("the shot clock never reached its last five seconds")
EOF

feed_says 'isinstance(s, list) and len(s) == 1 and all(isinstance(v, str) for v in s[0].values())
    and s[0]["homeFouls"] == "3" and s[0]["possession"] == "none" and re.fullmatch(r"\d\.\d", s[0]["shotClock"])' /vmix.json ||
    e2e_fail "/vmix.json is not one row of texts: $(cat "$E2E_DIR/last.json")"

e2e_key Escape
e2e_wait_exit
e2e_pass
