#!/usr/bin/env bash
# "Keep NumLock on" turns it on when the box opens and puts it back on after the
# operator turns it off in the box.
source "$(dirname "$0")/lib.sh"
e2e_setup
mkdir -p "$(dirname "$SETTINGS_FILE")"
printf '[KeySettings]\nNumLockForce=1\n' >"$SETTINGS_FILE"

e2e_set_numlock off
e2e_numlock_is_on && { echo "SKIP: NumLock cannot be set on this X server"; exit 77; }
e2e_launch
e2e_until e2e_numlock_is_on || e2e_fail "NumLock is not on after the box opened"

# The press turns it off; once the program has reported the press, only the
# program can turn it on again.
e2e_key Num_Lock
e2e_last_state >/dev/null
e2e_until e2e_numlock_is_on || e2e_fail "NumLock was not put back on after its release"

e2e_key Escape
e2e_wait_exit
e2e_pass
