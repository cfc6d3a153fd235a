#!/usr/bin/env bash
# Help opens beside the score box and whole on a 1920 x 1080 screen, with and
# without a window manager: below a box whose room below is just enough for its
# client area, or right of it once a window manager's frame is counted too; above
# a box near the bottom of the screen.
source "$(dirname "$0")/lib.sh"
command -v openbox >/dev/null || { echo "openbox is missing"; exit 77; }
E2E_SCREEN=1920x1080x24
e2e_setup
mkdir -p "$(dirname "$SETTINGS_FILE")"

command -v xwininfo >/dev/null && command -v xprop >/dev/null || { echo "xwininfo or xprop is missing"; exit 77; }

# A window's outer rectangle, the window manager's frame included, as "x y w h".
# (xdotool's position is off by the frame under a window manager.)
frame_rect() {
    local info extents
    info="$(xwininfo -id "$1")"
    extents="$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ' ')"
    IFS=, read -r left right top bottom <<<"${extents:-0,0,0,0}"
    x="$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")"
    y="$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")"
    w="$(sed -n 's/.*Width: *//p' <<<"$info")"
    h="$(sed -n 's/.*Height: *//p' <<<"$info")"
    echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

# Fails unless help, frame and all, ends up whole on the screen and off the box
# (and, without a window manager, exactly at `want`). The window is placed again
# once the window manager has framed it, so this waits for that.
expect_help_placed() {
    local want="$1" help x y w h bx by bw bh
    help="$(e2e_wait_window '^Tallivox Help$')"
    read -r bx by bw bh < <(frame_rect "$WINDOW_ID")
    for _ in $(seq 200); do
        read -r x y w h < <(frame_rect "$help")
        if [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le 1920 ] && [ $((y + h)) -le 1080 ] &&
            { [ $((x + w)) -le "$bx" ] || [ "$x" -ge $((bx + bw)) ] || [ $((y + h)) -le "$by" ] || [ "$y" -ge $((by + bh)) ]; } &&
            { [ -n "$wm" ] || [ "$x,$y ${w}x$h" = "$want" ]; }; then
            return 0
        fi
        sleep 0.05
    done
    e2e_fail "${wm:-no window manager}: help's frame at $x,$y ${w}x$h, the box at $bx,$by ${bw}x$bh (wanted without one: $want)"
}

for wm in "" openbox; do
    if [ -n "$wm" ]; then
        openbox --sm-disable >"$E2E_DIR/openbox.log" 2>&1 &
        WM_PID=$!
        for _ in $(seq 200); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.05; done
        xdotool get_num_desktops >/dev/null 2>&1 || e2e_fail "openbox did not start"
    fi
    # A 78-pixel box at x 100: its foot at y 439 leaves 640 pixels below, room for
    # the gap and help's 618 but not for a title bar too; then a box whose top is
    # at y 990.
    for case in "5430 100,448 737x618" "14850 100,364 737x618"; do
        read -r start_y want_at want_size <<<"$case"
        printf '[Views]\nStartX=1500\nStartY=%s\nHeight=1170\n' "$start_y" >"$SETTINGS_FILE"
        e2e_launch
        e2e_key F1
        expect_help_placed "$want_at $want_size"
        kill -TERM "$APP_PID"
        e2e_wait_exit
    done
done
kill "$WM_PID"
e2e_pass
