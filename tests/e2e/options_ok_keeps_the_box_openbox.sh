#!/usr/bin/env bash
# options_ok_keeps_the_box.sh under a window manager (openbox), whose frames and
# placement the box must not take on across the options dialog.
E2E_WM=openbox exec bash "$(dirname "$0")/options_ok_keeps_the_box.sh"
