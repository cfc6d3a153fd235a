#!/usr/bin/env bash
# Settings the program cannot read or write are said, never swallowed, and the
# game goes on. A UTF-16 settings file is kept aside as Tallivox.ini.bad and a
# notice beside the box says so; a save that cannot take the file's lock (a
# folder of that name) gives up at once with a notice and a line on standard
# error, once while it lasts, while the clock keeps running.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options_helpers.bash"
e2e_setup
mkdir -p "$(dirname "$SETTINGS_FILE")"
printf '[TextSettings]\r\nHomeText=Lions\r\n' | iconv -f utf-8 -t utf-16 >"$SETTINGS_FILE"
cp "$SETTINGS_FILE" "$E2E_DIR/original.ini"

e2e_launch
cmp -s "$SETTINGS_FILE.bad" "$E2E_DIR/original.ini" || e2e_fail "the unreadable file was not kept as Tallivox.ini.bad"
notice="$(e2e_wait_window '^Tallivox - Notice$')"
grep -q "cannot be read; it was kept as $SETTINGS_FILE.bad and written anew" "$E2E_DIR/app.log" || e2e_fail "standard error does not say the file was kept"

e2e_expect_apart "$notice" "$WINDOW_ID" "the notice covers the box"

mkdir "$SETTINGS_FILE.lock"
e2e_key s
e2e_expect_state "running=true"
options_open
started=$(date +%s%N)
options_key alt+o
options_wait_closed
[ $(( ($(date +%s%N) - started) / 1000000 )) -lt 1500 ] || e2e_fail "OK took over a second with the lock held"
grep -q "The settings were not saved to $SETTINGS_FILE: its lock file is held by something else." "$E2E_DIR/app.log" ||
    e2e_fail "the failed save was not said"
e2e_key s
e2e_expect_state "running=false"
e2e_key Escape
e2e_wait_exit
# The placement's save at the end meets the same lock: said once while it lasts.
[ "$(grep -c 'were not saved' "$E2E_DIR/app.log")" = 1 ] || e2e_fail "the same failure was said more than once"
e2e_pass
