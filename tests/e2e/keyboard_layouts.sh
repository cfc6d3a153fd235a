#!/usr/bin/env bash
# Digits typed on French and German keyboards: the physical keys 1, 2 and Return
# enter 12 into the home score on both; on French the "-" key, whose shifted
# level is 6, types the 6 and does not step the score.
source "$(dirname "$0")/lib.sh"
e2e_setup
command -v setxkbmap >/dev/null || { echo "SKIP: no setxkbmap"; exit 77; }

for layout in fr de; do
    setxkbmap -layout "$layout" || e2e_fail "setxkbmap -layout $layout"
    e2e_launch
    e2e_click_score_time 25 15   # the home score
    e2e_key 10 11 36
    e2e_expect_state "home=12"
    if [ "$layout" = fr ]; then
        e2e_key 15 36
        e2e_expect_state "home=6"
    fi
    e2e_key Escape
    e2e_wait_exit
done
e2e_pass
