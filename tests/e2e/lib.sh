# Shared steps of the end-to-end tests: a private X server, the real program with
# a temporary settings folder, real X key and mouse events, screenshots.
# Usage: source lib.sh; e2e_setup; e2e_launch; ... ; e2e_pass
set -euo pipefail

TALLIVOX_BIN="${TALLIVOX_BIN:?set by ctest}"
E2E_NAME="$(basename "$0" .sh)"
E2E_DIR="$(mktemp -d "${TMPDIR:-/tmp}/tallivox-$E2E_NAME.XXXXXX")"
export XDG_CONFIG_HOME="$E2E_DIR/config"
export XDG_RUNTIME_DIR="$E2E_DIR/runtime"
export XDG_STATE_HOME="$E2E_DIR/state"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
SETTINGS_FILE="$XDG_CONFIG_HOME/Tallivox/Tallivox.ini"
GAME_FILE="$XDG_STATE_HOME/Tallivox/game.json"
XVFB_PID=""
APP_PID=""
WM_PID=""

e2e_cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    if [ "${E2E_KEEP:-0}" = 1 ]; then echo "kept $E2E_DIR"; else rm -rf "$E2E_DIR"; fi
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "FAIL: $E2E_NAME: $*" >&2
    [ -f "$SETTINGS_FILE" ] && { echo "--- settings:"; cat "$SETTINGS_FILE"; } >&2
    [ -f "$E2E_DIR/app.log" ] && { echo "--- program output:"; tail -n 40 "$E2E_DIR/app.log"; } >&2
    exit 1
}

# Starts a private X server with a white root window, so a screenshot tells the
# desktop from the box. It does not reset when its last client leaves: a test
# that ends the program and starts it again would otherwise race the reset.
e2e_setup() {
    local fd_file="$E2E_DIR/display"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024x24}" -wr -noreset -nolisten tcp 3>"$fd_file" 2>"$E2E_DIR/xvfb.log" &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$fd_file" ] && break
        sleep 0.05
    done
    [ -s "$fd_file" ] || e2e_fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fd_file")"
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
}

# Starts a window manager (openbox) on the private X server (xprop tells when it
# has taken the screen over).
e2e_start_wm() {
    "$1" >"$E2E_DIR/wm.log" 2>&1 &
    WM_PID=$!
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        kill -0 "$WM_PID" 2>/dev/null || e2e_fail "$1 ended at once: $(cat "$E2E_DIR/wm.log")"
        sleep 0.05
    done
    e2e_fail "$1 did not take the screen over"
}

# Runs the command until it succeeds, for up to $E2E_CEILING seconds (20) however
# busy the machine: how a test waits for the program, never for a fixed delay.
# Returns 1 when it never did; the caller says what was not seen.
e2e_until() {
    local deadline=$((SECONDS + ${E2E_CEILING:-20}))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Waits until a visible window with a name matching the pattern is up; prints its id.
e2e_wait_window() {
    local pattern="$1" id=""
    for _ in $(seq 200); do
        id="$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$APP_PID" 2>/dev/null || e2e_fail "the program ended before showing $pattern"
        sleep 0.05
    done
    e2e_fail "no window $pattern appeared"
}

# Starts the program and stops at its splash, the first window of every run,
# once the program says it has drawn it.
e2e_launch_splash() {
    QT_LOGGING_RULES="tallivox.*.debug=true" "$TALLIVOX_BIN" "$@" >"$E2E_DIR/app.log" 2>&1 &
    APP_PID=$!
    WINDOW_ID=""
    SPLASH_ID="$(e2e_wait_window '^Tallivox - Splash$')"
    e2e_until grep -q 'tallivox.startup: first paint' "$E2E_DIR/app.log" || e2e_fail "the splash was not drawn"
}

# Clicks the splash's logo (anywhere but its two buttons hands over) and waits
# for the score box. The pointer goes back where it was, so that the run after
# the splash starts as it would without one.
e2e_continue_from_splash() {
    local geometry x y pointer
    geometry="$(xdotool getwindowgeometry "$SPLASH_ID")"
    x="$(echo "$geometry" | sed -n 's/.*Position: \([0-9-]*\),.*/\1/p')"
    y="$(echo "$geometry" | sed -n 's/.*Position: [0-9-]*,\([0-9-]*\).*/\1/p')"
    pointer="$(xdotool getmouselocation --shell | sed -n 's/^[XY]=//p' | tr '\n' ' ')"
    e2e_click $((x + 92)) $((y + 122))
    WINDOW_ID="$(e2e_wait_window '^Tallivox$')"
    # shellcheck disable=SC2086
    xdotool mousemove --sync $pointer
    e2e_wait_drawn "$WINDOW_ID"
}

# Starts the program and goes through its splash: afterwards the score box is up
# and WINDOW_ID names it.
e2e_launch() {
    e2e_launch_splash "$@"
    e2e_continue_from_splash
}

# Gives the window the keyboard focus and sends real key events to it.
# The program reports the displays after each key it handles; what a test expects
# after a key is looked for in the reports that came after it.
e2e_key() {
    E2E_KEY_LINES="$(e2e_key_lines)"
    xdotool windowfocus --sync "$WINDOW_ID" 2>/dev/null || xdotool windowfocus "$WINDOW_ID"
    xdotool key --clearmodifiers "$@"
}

e2e_key_lines() {
    grep -c 'key ' "$E2E_DIR/app.log" 2>/dev/null || true
}

# Waits up to a few seconds (or $1 tenths of a second) for the program to end;
# its exit status is left in APP_STATUS.
e2e_wait_exit() {
    for _ in $(seq $((${1:-50} * 2))); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            APP_STATUS=0
            wait "$APP_PID" || APP_STATUS=$?
            APP_PID=""
            return 0
        fi
        sleep 0.05
    done
    e2e_fail "the program is still running"
}

e2e_shot() {
    import -window root "$E2E_DIR/$1.png"
    echo "$E2E_DIR/$1.png"
}

# The screen where a window is, cut from a screenshot: what is on top there.
e2e_window_shot() {
    local name="$1" X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$2" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$E2E_DIR/$name.png"
    echo "$E2E_DIR/$name.png"
}

# Waits until a window just shown has been drawn: its place on the screen is no
# longer one colour (the white desktop it was mapped over) and looks the same
# twice in a row, so no part of the drawing is still on its way.
e2e_wait_drawn() {
    local id="$1" last="" now=""
    drawn() {
        last="$now"
        now="$(convert "$(e2e_window_shot drawn "$id")" -format '%k %#' info:)"
        [ "${now%% *}" -gt 1 ] 2>/dev/null && [ "$now" = "$last" ]
    }
    e2e_until drawn || e2e_fail "window $id was not drawn: $now"
}

# Colour of one screen pixel as "r,g,b".
e2e_pixel() {
    local file="$1" x="$2" y="$3"
    convert "$file" -format "%[fx:int(255*p{$x,$y}.r)],%[fx:int(255*p{$x,$y}.g)],%[fx:int(255*p{$x,$y}.b)]" info:
}

e2e_setting() {
    local section="$1" key="$2"
    awk -v s="[$section]" -v k="$key" '
        $0 == s { inside = 1; next }
        /^\[/ { inside = 0 }
        inside && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }
    ' "$SETTINGS_FILE" 2>/dev/null
}

# For e2e_until: whether the settings file holds that value (it is written anew,
# not in place, so it is read whole or not at all).
e2e_setting_is() {
    [ "$(e2e_setting "$1" "$2")" = "$3" ]
}

# The displays as the program last reported them after a key, e.g. "home=12",
# once it has reported on the last key sent (or after 10 s, however busy the machine).
e2e_last_state() {
    for _ in $(seq 200); do
        [ "$(e2e_key_lines)" -gt "${E2E_KEY_LINES:-0}" ] && break
        sleep 0.05
    done
    grep 'key ' "$E2E_DIR/app.log" | tail -n1
}

# Waits until a report after the last key sent shows `want`; fails after 10 s.
e2e_expect_state() {
    local want="$1" state=""
    for _ in $(seq 200); do
        if [ "$(e2e_key_lines)" -gt "${E2E_KEY_LINES:-0}" ]; then
            state="$(grep 'key ' "$E2E_DIR/app.log" | tail -n1)"
            case " $state " in *" $want "*) return 0 ;; esac
        fi
        sleep 0.05
    done
    e2e_fail "expected $want, the program reports: $state"
}

e2e_click() {
    xdotool mousemove --sync "$1" "$2" click 1
}

# Clicks a point of the score and time block, given in pixels from its top-left
# corner at the designed height; the block is the box's right 233 pixels.
e2e_click_score_time() {
    local geometry x y w
    geometry="$(xdotool getwindowgeometry "$WINDOW_ID")"
    x="$(echo "$geometry" | sed -n 's/.*Position: \([0-9-]*\),.*/\1/p')"
    y="$(echo "$geometry" | sed -n 's/.*Position: [0-9-]*,\([0-9-]*\).*/\1/p')"
    w="$(echo "$geometry" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')"
    e2e_click $((x + w - 233 + $1)) $((y + $2))
}

e2e_numlock_is_on() {
    xset q | grep 'Num Lock: *on' >/dev/null
}

# Sets NumLock with a real key press, so keypad keys mean what the test expects,
# and waits until the X server has it so.
e2e_set_numlock() {
    numlock_is() { if [ "$1" = on ]; then e2e_numlock_is_on; else ! e2e_numlock_is_on; fi; }
    numlock_is "$1" && return 0
    xdotool key Num_Lock
    e2e_until numlock_is "$1" || true
}

e2e_same_screens() {
    [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = 0 ]
}

# Fails unless the two windows' rectangles do not overlap.
e2e_expect_apart() {
    local rect1 rect2
    rect() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=//p' | paste -sd' '; }
    read -r ax ay aw ah < <(rect "$1")
    read -r bx by bw bh < <(rect "$2")
    [ $((ax + aw)) -le "$bx" ] || [ "$ax" -ge $((bx + bw)) ] || [ $((ay + ah)) -le "$by" ] || [ "$ay" -ge $((by + bh)) ] ||
        e2e_fail "$3: $ax,$ay ${aw}x$ah overlaps $bx,$by ${bw}x$bh"
}

e2e_pass() {
    echo "PASS: $E2E_NAME"
}

# A port for the live feed that nothing listens on, below the range the system
# hands out to outgoing connections (so no client of another test can hold it).
e2e_free_port() {
    local port=$((20000 + ($$ * 7 + RANDOM) % 12000)) fd
    while (exec {fd}<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do
        port=$((20000 + (port - 20000 + 97) % 12000))
    done
    echo "$port"
}
