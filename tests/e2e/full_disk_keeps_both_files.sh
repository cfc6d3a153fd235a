#!/usr/bin/env bash
# A full disk loses nothing: on a 256 KiB tmpfs holding the settings and the
# state folder, once the disk is full a score key and a drag of the box fail
# to save; the game file and the settings file stay whole as they were, and
# the failure is said in the notice window and on standard error, once while
# it lasts, as "no space left on the disk". Killed and started again on the
# same full disk, the program shows the game and the box as they were saved.
# With 4 KiB left, a save either works or leaves the old file whole. The test
# mounts the tmpfs itself and is skipped where mounting is not allowed.
source "$(dirname "$0")/lib.sh"

DISK="$E2E_DIR/disk"
mkdir -p "$DISK"
if ! mount -t tmpfs -o size=256k tmpfs "$DISK" 2>/dev/null; then
    echo "SKIP: $E2E_NAME: cannot mount a tmpfs here (it needs root)"
    exit 77
fi
# The program goes first: the disk cannot be unmounted while it holds a file
# there. Its end is looked for, not waited on, so that a program stuck in a
# write cannot hold up the cleanup.
disk_cleanup() {
    if [ -n "$APP_PID" ]; then
        kill -KILL "$APP_PID" 2>/dev/null || true
        for _ in $(seq 100); do
            case "$(awk '{ print $3 }' "/proc/$APP_PID/stat" 2>/dev/null)" in "" | Z) break ;; esac
            sleep 0.05
        done
    fi
    APP_PID=""
    umount "$DISK" 2>/dev/null || umount -l "$DISK" 2>/dev/null || true
    e2e_cleanup
}
trap disk_cleanup EXIT

export XDG_CONFIG_HOME="$DISK/config" XDG_STATE_HOME="$DISK/state"
SETTINGS_FILE="$XDG_CONFIG_HOME/Tallivox/Tallivox.ini"
GAME_FILE="$XDG_STATE_HOME/Tallivox/game.json"

# Waits up to ten seconds for a file to hold a text.
await_text() {
    for _ in $(seq 200); do
        grep -qF -- "$2" "$1" 2>/dev/null && return 0
        sleep 0.05
    done
    e2e_fail "${3:-$1 never held $2}"
}

drag_box_by() {
    local geometry x y
    geometry="$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
    x="$(sed -n 's/^X=//p' <<<"$geometry")"
    y="$(sed -n 's/^Y=//p' <<<"$geometry")"
    # No --sync here: the pointer may stand there already, and xdotool would wait
    # for a move that never comes. The X server keeps the order of the events.
    xdotool mousemove $((x + 15)) $((y + 15)) mousedown 1
    xdotool mousemove --sync $((x + 15 + $1 / 2)) $((y + 15 + $2 / 2))
    xdotool mousemove --sync $((x + 15 + $1)) $((y + 15 + $2)) mouseup 1
}

# Fills the disk, leaving the given number of bytes.
fill_leaving() {
    rm -f "$DISK/fill"
    local avail
    avail="$(df --output=avail -B1 "$DISK" | tail -n1 | tr -d ' ')"
    dd if=/dev/zero of="$DISK/fill" bs=4096 count=$(((avail - $1) / 4096)) 2>/dev/null || true
    [ "$(df --output=avail -B1 "$DISK" | tail -n1 | tr -d ' ')" -le "$1" ] || e2e_fail "the disk did not fill"
}

# Both files as a reader finds them: the game parses, the settings hold the placement.
expect_whole() {
    python3 -c 'import json, sys; json.load(open(sys.argv[1]))["homeScore"]' "$GAME_FILE" 2>/dev/null ||
        e2e_fail "$1: the game file is not whole: $(wc -c <"$GAME_FILE") bytes"
    grep -q '^StartX=' "$SETTINGS_FILE" || e2e_fail "$1: the settings file is not whole: $(wc -c <"$SETTINGS_FILE") bytes"
}

e2e_setup
e2e_launch
e2e_key Insert
await_text "$GAME_FILE" '"homeScore": 1'
drag_box_by 100 60
await_text "$SETTINGS_FILE" 'StartX=1500'
cp "$GAME_FILE" "$E2E_DIR/game.saved"
cp "$SETTINGS_FILE" "$E2E_DIR/settings.saved"

fill_leaving 0
for round in 1 2; do
    e2e_key Insert
    drag_box_by 30 30
    await_text "$E2E_DIR/app.log" "The game was not saved to $GAME_FILE: no space left on the disk."
    await_text "$E2E_DIR/app.log" "The settings were not saved to $SETTINGS_FILE: no space left on the disk."
    cmp -s "$GAME_FILE" "$E2E_DIR/game.saved" || e2e_fail "round $round: the game file changed on a full disk"
    cmp -s "$SETTINGS_FILE" "$E2E_DIR/settings.saved" || e2e_fail "round $round: the settings file changed on a full disk"
done
e2e_wait_window '^Tallivox - Notice$' >/dev/null
# The second round's drag ends after its save has failed or not: the program
# says how each key went, and the last key comes after the last drag.
e2e_key x
e2e_expect_state "home=3"
[ "$(grep -c 'The game was not saved' "$E2E_DIR/app.log")" = 1 ] || e2e_fail "the game's failure was said more than once"
[ "$(grep -c 'The settings were not saved' "$E2E_DIR/app.log")" = 1 ] ||
    e2e_fail "the settings' failure was said more than once"

kill -KILL "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
APP_PID=""
expect_whole "after the kill"
e2e_launch
e2e_key x
e2e_expect_state "home=1 visitor=0"
[ "$(xdotool getwindowgeometry --shell "$WINDOW_ID" | sed -n 's/^[XY]=//p' | paste -sd,)" = 100,60 ] ||
    e2e_fail "the box is not where the last save put it"

fill_leaving 4096
e2e_key Insert
drag_box_by 30 30
e2e_key x
e2e_expect_state "home=2"
expect_whole "with 4 KiB left"
kill -KILL "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
APP_PID=""
expect_whole "with 4 KiB left, after the kill"
e2e_pass
