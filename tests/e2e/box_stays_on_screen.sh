#!/usr/bin/env bash
# A box saved where no screen is (a monitor that is gone, or typed as 30000,
# 30000) comes back whole on the screen, in both views. A 240-character team name
# widens the box only as far as the screen: the box, clocks included, stays whole
# on it, and the whole name stays in the settings.
source "$(dirname "$0")/lib.sh"
e2e_setup
mkdir -p "$(dirname "$SETTINGS_FILE")"
geometry() { xdotool getwindowgeometry --shell "$WINDOW_ID" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=//p' | paste -sd' '; }

printf '[Views]\nStartX=30000\nStartY=30000\n[ColorSettings]\nFormBack=8421504\nGreenBackColor=65280\n' >"$SETTINGS_FILE"
e2e_launch
read -r x y w h < <(geometry)
[ "$x $y" = "$((1280 - w)) $((1024 - h))" ] || e2e_fail "the box is not brought to the screen's corner: $x $y ${w}x$h"
e2e_key F11
on_key_colour() {
    solid="$(e2e_shot solid)"
    [ "$(e2e_pixel "$solid" 5 5)" = "0,255,0" ] && [ "$(e2e_pixel "$solid" $((1280 - w + 30)) $((1024 - h / 2)))" = "128,128,128" ]
}
e2e_until on_key_colour || e2e_fail "the box is not on the key colour's screen"
e2e_key Escape
e2e_wait_exit

printf '[Views]\nStartX=1500\nStartY=900\n[ColorSettings]\nLEDBack=1193046\n[TextSettings]\nHomeText=%s\n' "$(printf 'Harlem Globetrotters %.0s' $(seq 12))" >"$SETTINGS_FILE"
e2e_launch
read -r x y w h < <(geometry)
[ "$x" -ge 0 ] && [ $((x + w)) -le 1280 ] && [ "$w" -gt 1000 ] || e2e_fail "the names push the box off the screen: $x $y ${w}x$h"
box="$(e2e_shot long_name)"
# The LED boards (in their own colour, 0x123456) reach the box's right part, on the screen.
boards="$(convert "$box" -fill black -opaque 'rgb(86,52,18)' -fill white +opaque black -negate -format '%@' info:)"
[[ "$boards" =~ ^([0-9]+)x[0-9]+\+([0-9]+)\+ ]] || e2e_fail "no LED boards on the screen: $boards"
right=$((BASH_REMATCH[1] + BASH_REMATCH[2]))
[ "$right" -gt $((x + w - 200)) ] && [ "$right" -le 1280 ] || e2e_fail "the clocks are not on the screen: boards $boards"
[ "$(e2e_setting TextSettings HomeText | wc -c)" -gt 240 ] || e2e_fail "the whole name is not kept in the settings"
e2e_key Escape
e2e_wait_exit
e2e_pass
