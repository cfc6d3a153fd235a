#!/usr/bin/env bash
# A first start with no settings opens the floating box with the clock standing at
# 10:00; the corners outside the rounded outline show the desktop.
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_launch

shot1="$(e2e_shot first)"
sleep 1.2
shot2="$(e2e_shot second)"
# Both clocks stand still: nothing on the screen changes over a second.
[ "$(compare -metric AE "$shot1" "$shot2" null: 2>&1 || true)" = 0 ] || e2e_fail "the screen changed while the clocks stand still"

# The window sits at 0,0 and is cut to a rounded outline: the very corner is the
# white desktop, the middle of the box is its dark background.
[ "$(e2e_pixel "$shot1" 0 0)" = "255,255,255" ] || e2e_fail "corner is not cut away: $(e2e_pixel "$shot1" 0 0)"
[ "$(e2e_pixel "$shot1" 360 77)" = "255,255,255" ] || e2e_fail "far corner is not cut away"
[ "$(e2e_pixel "$shot1" 100 39)" = "64,64,64" ] || e2e_fail "box background is $(e2e_pixel "$shot1" 100 39)"
e2e_key Escape
e2e_wait_exit
e2e_pass
