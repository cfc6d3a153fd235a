#!/usr/bin/env bash
# OK in the options dialog with nothing changed leaves the score box exactly
# where and as large as it was, OK after OK: floating (F12) and on the key colour
# (F11), 120, 165 and 240 pixels high, with long team names.
# Bare here; options_ok_keeps_the_box_openbox.sh runs it under a window manager.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options_helpers.bash"
e2e_setup
[ -n "${E2E_WM:-}" ] && e2e_start_wm "$E2E_WM"
mkdir -p "$(dirname "$SETTINGS_FILE")"

# The box on the screen, as "WxH+X+Y": all that is not the backdrop (the white
# root around the floating box, the key colour around the other).
box_rect() { convert "$(e2e_shot box)" -format '%@' info:; }
# The rectangle once two screenshots in a row agree, the box drawn.
settled_rect() {
    local last="" now
    for _ in $(seq 50); do
        now="$(box_rect)"
        [ "$now" = "$last" ] && { echo "$now"; return 0; }
        last="$now"
        sleep 0.1
    done
    e2e_fail "${E2E_WM:-bare}: the box keeps changing: $now"
}

for height in 1800 2475 3600; do
    printf '[Views]\nStartX=1500\nStartY=1500\nHeight=%s\n[ColorSettings]\nFormBack=8421504\nGreenBackColor=65280\n[TextSettings]\nHomeText=%s\nVisitorText=Washington Generals\n' \
        "$height" "Harlem Globetrotters" >"$SETTINGS_FILE"
    e2e_launch
    for view in F12 F11; do
        e2e_key "$view"
        want="$(settled_rect)"
        [[ "$want" == *x$((height / 15))+* ]] || e2e_fail "${E2E_WM:-bare} $view: the box is $want, not $((height / 15)) px high"
        for _ in 1 2 3 4 5; do
            options_open
            options_key alt+o
            options_wait_closed
            # A box that moved or changed size does not come back by waiting.
            for _ in $(seq 30); do
                got="$(box_rect)"
                [ "$got" = "$want" ] && break
                sleep 0.1
            done
            [ "$got" = "$want" ] || e2e_fail "${E2E_WM:-bare} $view, $((height / 15)) px: OK took the box from $want to $got"
        done
    done
    e2e_key Escape
    e2e_wait_exit
done
e2e_pass
