#!/usr/bin/env bash
# With "ShowTeamFouls" the score box shows, under each team's row, its timeouts
# left as lamps, its team fouls and its bonus, and under the period the
# possession arrow: five home fouls put the visitors in the bonus, D takes a home
# timeout, A gives the home team the ball and A again the visitors. Checked on
# the screen in both LED styles, region by region of the box at its designed
# height with the bands (1770 twips: a pixel to 15 twips).
source "$(dirname "$0")/lib.sh"
e2e_setup
mkdir -p "$(dirname "$SETTINGS_FILE")"

# Pixels of about one colour ("r,g,b", or a darker shade, as small dot LEDs are) in
# a rectangle of the shot.
count() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -fuzz 45% -fill black +opaque "rgb($6)" -fill white -opaque "rgb($6)" \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

check_style() {
    local type="$1" shot w up down
    printf '[Views]\nStartX=1500\nStartY=1500\nHeight=1770\n[PicSettings]\nLEDType=%s\n[GameSettings]\nShowTeamFouls=True\nRuleSet=Custom\nBonusFouls=5\nTimeoutsFirstHalf=2\nTimeoutsSecondHalf=3\nTimeoutsOvertime=1\n[ColorSettings]\nScoreColor=255\nTimeColor=65535\nPeriodColor=65280\nHomeColor=16776960\nVisitorColor=16711935\nLEDBack=0\nFormBack=8421504\n' \
        "$type" >"$SETTINGS_FILE"
    e2e_launch
    e2e_key F F F F F D A
    e2e_expect_state "possession=up"
    e2e_wait_drawn "$WINDOW_ID"
    shot="$(e2e_window_shot "band$type-up" "$WINDOW_ID")"
    w="$(identify -format %w "$shot")"
    local t=$((w - 233)) # the score and time block: the box's right 233 pixels
    [ "$(identify -format %h "$shot")" = 118 ] || e2e_fail "LED type $type: the box is not 118 pixels high"
    # Home fouls "5" under the home score, red; the visitors' "0" likewise.
    [ "$(count "$shot" $((t + 33)) 38 21 18 255,0,0)" -gt 5 ] || e2e_fail "LED type $type: no home fouls"
    [ "$(count "$shot" $((t + 33)) 96 21 18 255,0,0)" -gt 5 ] || e2e_fail "LED type $type: no visitor fouls"
    # The visitors are in the bonus (magenta, their colour), the home team is not.
    [ "$(count "$shot" $((t + 58)) 96 66 18 255,0,255)" -gt 5 ] || e2e_fail "LED type $type: the visitors' bonus is dark"
    [ "$(count "$shot" $((t + 58)) 38 66 18 0,255,255)" = 0 ] || e2e_fail "LED type $type: the home team shows a bonus"
    # Timeouts, yellow, three lamps of 10 pixels 3 apart from x 8: home one left, visitors two.
    [ "$(count "$shot" 8 38 10 18 255,255,0)" -gt 5 ] || e2e_fail "LED type $type: the home team's first lamp is dark"
    [ "$(count "$shot" 21 38 10 18 255,255,0)" = 0 ] || e2e_fail "LED type $type: the home team's second lamp is lit"
    [ "$(count "$shot" 21 96 10 18 255,255,0)" -gt 5 ] || e2e_fail "LED type $type: the visitors' second lamp is dark"
    [ "$(count "$shot" 34 96 10 18 255,255,0)" = 0 ] || e2e_fail "LED type $type: the visitors' third lamp is lit"
    # The arrow, green, points up: its wide end is its lower half.
    up="$(count "$shot" $((t + 127)) 38 18 9 0,255,0) $(count "$shot" $((t + 127)) 47 18 9 0,255,0)"
    [ "${up% *}" -lt "${up#* }" ] || e2e_fail "LED type $type: the arrow does not point up (upper, lower half: $up)"
    e2e_key A
    e2e_expect_state "possession=down"
    e2e_until test "$(count "$(e2e_window_shot "band$type-down" "$WINDOW_ID")" $((t + 127)) 38 18 9 0,255,0)" -gt "${up% *}" ||
        e2e_fail "LED type $type: the arrow did not turn down"
    down="$(count "$E2E_DIR/band$type-down.png" $((t + 127)) 38 18 9 0,255,0) $(count "$E2E_DIR/band$type-down.png" $((t + 127)) 47 18 9 0,255,0)"
    [ "${down% *}" -gt "${down#* }" ] || e2e_fail "LED type $type: the arrow does not point down (upper, lower half: $down)"
    e2e_key Escape
    e2e_wait_exit
}

check_style 0
check_style 1
e2e_pass
