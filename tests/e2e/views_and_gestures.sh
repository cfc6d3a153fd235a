#!/usr/bin/env bash
# The two views, a drag that moves the box and a grip drag that grows it in
# proportion, with colours seeded in the settings file where they belong.
source "$(dirname "$0")/lib.sh"
e2e_setup
mkdir -p "$(dirname "$SETTINGS_FILE")"
# Box colour 128,128,128; key colour pure green.
printf '[Views]\nStartX=1500\nStartY=1500\n[ColorSettings]\nFormBack=8421504\nGreenBackColor=65280\n' >"$SETTINGS_FILE"
e2e_launch

geometry() { xdotool getwindowgeometry "$WINDOW_ID"; }
field() { geometry | sed -n "s/.*$1: \\([0-9-]*\\)[,x]\\([0-9-]*\\).*/\\1 \\2/p"; }
field_is() { [ "$(field "$1")" = "$2" ]; }
# A screenshot once the pixel given shows the colour given: the repaint it waits
# for is drawn down to there.
shot_showing() {
    shot="$(e2e_shot "$1")"
    [ "$(e2e_pixel "$shot" "$2" "$3")" = "$4" ]
}
read -r x0 y0 < <(field Position)
read -r w0 h0 < <(field Geometry)
[ "$x0 $y0 $h0" = "100 100 78" ] || e2e_fail "box not at 100,100 with height 78: $(geometry)"

floating="$(e2e_shot floating)"
[ "$(e2e_pixel "$floating" 100 100)" = "255,255,255" ] || e2e_fail "the rounded corner does not show the desktop"
[ "$(e2e_pixel "$floating" $((100 + w0 - 20)) 150)" = "128,128,128" ] || e2e_fail "box colour: $(e2e_pixel "$floating" $((100 + w0 - 20)) 150)"

e2e_key F11
e2e_until shot_showing solid 5 5 "0,255,0" || e2e_fail "F11 does not fill the screen with the key colour"
e2e_until shot_showing solid 1270 1010 "0,255,0" || e2e_fail "the key colour does not reach the far corner"
solid="$shot"
[ "$(e2e_pixel "$solid" 100 100)" = "0,255,0" ] || e2e_fail "the box corner is not rounded on the key colour"
[ "$(e2e_pixel "$solid" $((100 + w0 - 20)) 150)" = "128,128,128" ] || e2e_fail "the box moved in the solid view"

e2e_key F12
e2e_until field_is Position "100 100" || e2e_fail "F12 did not bring the box back: $(geometry)"
e2e_until field_is Geometry "$w0 $h0" || e2e_fail "F12 did not shrink the window to the box: $(geometry)"

# Drag from the home name: the box follows the pointer.
xdotool mousemove --sync 115 115 mousedown 1
xdotool mousemove --sync 140 125
xdotool mousemove --sync 165 145 mouseup 1
e2e_until field_is Position "150 130" || e2e_fail "the drag did not move the box by 50,30: $(geometry)"

# Drag the grip in the bottom-right corner: the box grows in proportion.
gx=$((150 + w0 - 10)); gy=$((130 + h0 - 6))
xdotool mousemove --sync $gx $gy mousedown 1
xdotool mousemove --sync $((gx + w0 / 2)) $((gy + 20))
xdotool mousemove --sync $((gx + w0)) $((gy + h0)) mouseup 1
w1=$((2 * w0)); h1=$((2 * h0))
e2e_until field_is Geometry "$w1 $h1" || e2e_fail "the grip did not double the box in proportion: ${w0}x${h0} -> $(geometry)"
e2e_until shot_showing grown $((150 + w1 - 40)) $((130 + h1 / 2)) "128,128,128" || e2e_fail "the grown box is not drawn to its new size"

e2e_key Escape
e2e_wait_exit
[ "$(e2e_setting Views StartX)" = 2250 ] || e2e_fail "StartX after the drag: $(e2e_setting Views StartX)"
[ "$(e2e_setting Views StartY)" = 1950 ] || e2e_fail "StartY after the drag: $(e2e_setting Views StartY)"
[ "$(e2e_setting Views Height)" = $((15 * h1)) ] || e2e_fail "Height not saved grown: $(e2e_setting Views Height)"
e2e_pass
