#!/usr/bin/env bash
# A click on the home score, then typed digits and Enter set it; keypad digits
# enter the same values as the top row; quick keys add points.
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_launch

e2e_click_score_time 25 15   # the home score
e2e_key 1 2 Return
e2e_expect_state "home=12"

e2e_set_numlock on
e2e_key KP_3 KP_4 KP_Enter
e2e_expect_state "home=34"

e2e_click_score_time 25 55   # the visitor score
e2e_key 7 Return
e2e_expect_state "visitor=7"
e2e_key shift+1 Return    # Shift+1 is still the 1 key
e2e_expect_state "visitor=1"

# With NumLock off the keypad sends Insert and Page Up: the quick keys.
e2e_set_numlock off
e2e_key KP_Insert KP_Prior
e2e_expect_state "home=38"

e2e_click_score_time 100 58  # the game clock
e2e_key 5 period 3 Return
e2e_expect_state "clock=5:03"

e2e_key Escape
e2e_wait_exit
e2e_pass
