#!/usr/bin/env bash
# One copy per user. A second start while a game runs brings the running copy's
# score box to the front, says so on standard error, ends with status 0 and
# touches no file: the game and the settings stay as the first copy has them.
# --version and --help still answer. (A copy killed with SIGKILL does not block
# the next start: game_survives_a_kill.)
source "$(dirname "$0")/lib.sh"
command -v xlogo >/dev/null || { echo "xlogo is missing"; exit 77; }
e2e_setup
e2e_launch
e2e_key Insert
for _ in $(seq 200); do grep -q '"homeScore": *1' "$GAME_FILE" 2>/dev/null && break; sleep 0.05; done
grep -q '"homeScore": *1' "$GAME_FILE" || e2e_fail "no game file with the point: $(cat "$GAME_FILE" 2>&1)"

# Another window over the box.
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xlogo -geometry "${WIDTH}x${HEIGHT}+$X+$Y" &
XLOGO_PID=$!
trap 'kill "$XLOGO_PID" 2>/dev/null || true; e2e_cleanup' EXIT
e2e_wait_window '^xlogo$' >/dev/null
box_pixel() { e2e_pixel "$(e2e_shot screen)" $((X + 4)) $((Y + HEIGHT / 2)); }
for _ in $(seq 100); do [ "$(box_pixel)" != 64,64,64 ] && break; sleep 0.05; done
[ "$(box_pixel)" != 64,64,64 ] || e2e_fail "the box shows through the window over it"

files() { find "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" -type f -printf '%p %s %T@\n' | sort; md5sum "$GAME_FILE"; }
before="$(files)"
status=0
timeout 60 "$TALLIVOX_BIN" >"$E2E_DIR/second.out" 2>"$E2E_DIR/second.err" || status=$?
[ "$status" = 0 ] || e2e_fail "the second copy ended with status $status: $(cat "$E2E_DIR/second.err")"
[ "$(cat "$E2E_DIR/second.err")" = "Tallivox is already running." ] ||
    e2e_fail "the second copy said: $(cat "$E2E_DIR/second.err")"
[ ! -s "$E2E_DIR/second.out" ] || e2e_fail "the second copy printed: $(cat "$E2E_DIR/second.out")"
[ "$(files)" = "$before" ] || e2e_fail "the second copy touched files: $before / $(files)"
for _ in $(seq 200); do [ "$(box_pixel)" = 64,64,64 ] && break; sleep 0.05; done
[ "$(box_pixel)" = 64,64,64 ] || e2e_fail "the first copy's box is not in front: $(box_pixel)"

version="$("$TALLIVOX_BIN" --version)" || e2e_fail "--version failed while a copy runs"
[[ "$version" == "Tallivox "[0-9]* ]] || e2e_fail "--version said: $version"
"$TALLIVOX_BIN" --help | grep -q -- '--version' || e2e_fail "--help failed while a copy runs"

# The first copy runs on with its game.
e2e_key Insert
e2e_expect_state "home=2"
e2e_key Escape
e2e_wait_exit
e2e_pass
