#!/usr/bin/env bash
# A first run with an empty settings folder: the splash comes first, shows the
# program's name, its version and the key hints; Help and Options leave it up;
# a click hands over to the score box, cut to its rounded outline; Esc ends
# everything, and the next run puts the box back where it was left.
source "$(dirname "$0")/lib.sh"
e2e_setup
[ -z "$(ls -A "$XDG_CONFIG_HOME")" ] || e2e_fail "the settings folder is not empty"

version="$(sed -n 's/^project(Tallivox VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")"
[ -n "$version" ] || e2e_fail "cannot read the build's version"

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true; }
# A window's "x,y" and "wxh" as xdotool reports them.
position() { xdotool getwindowgeometry "$1" | sed -n 's/.*Position: \([0-9-]*,[0-9-]*\).*/\1/p'; }
size() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: \([0-9]*x[0-9]*\).*/\1/p'; }

# Dark pixels in a rectangle of a screenshot: where a label has its text.
ink() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace gray -threshold 50% -negate \
        -format '%[fx:int(mean*w*h+0.5)]' info:
}

e2e_launch_splash
[ -z "$(visible '^Tallivox$')" ] || e2e_fail "the score box came before the splash"
# 1280 x 1024: centred across, and above the middle as if it were 392 pixels tall.
[ "$(position "$SPLASH_ID")" = 432,316 ] || e2e_fail "splash not placed: $(position "$SPLASH_ID")"
[ "$(size "$SPLASH_ID")" = 416x232 ] || e2e_fail "splash size: $(size "$SPLASH_ID")"
grep -q "showing \"Version $version\"" "$E2E_DIR/app.log" || e2e_fail "the splash does not show Version $version"

shot="$(e2e_shot splash)"
sx=432; sy=316
[ "$(e2e_pixel "$shot" $((sx + 4)) $((sy + 100)))" != "255,255,255" ] || e2e_fail "the splash is not drawn"
# Name, version, the hints and the logo, at their places inside the frame (8
# pixels in).
[ "$(ink "$shot" $((sx + 16)) $((sy + 16)) 385 49)" -gt 100 ] || e2e_fail "no program name"
[ "$(ink "$shot" $((sx + 293)) $((sy + 72)) 100 25)" -gt 60 ] || e2e_fail "no version text"
# The version is right-aligned: its text ends at the right end of its label.
# (The label's left part lies under the end of "Click to continue.", so the
# look starts past it.)
bbox="$(convert "$shot" -crop "120x25+$((sx + 273))+$((sy + 72))" +repage -colorspace gray -threshold 50% -format '%@' info:)"
[[ "$bbox" =~ ^([0-9]+)x[0-9]+\+([0-9]+)\+ ]] || e2e_fail "cannot measure the version text: $bbox"
ink_width="${BASH_REMATCH[1]}"; ink_left="${BASH_REMATCH[2]}"
[ $((ink_left + ink_width)) -ge 115 ] || e2e_fail "the version is not right-aligned: ends at $((ink_left + ink_width)) of 120"
for hint in 80 112 128 144; do
    [ "$(ink "$shot" $((sx + 184)) $((sy + hint)) 80 17)" -gt 20 ] || e2e_fail "no hint text at $hint"
done
IFS=, read -r r g b <<<"$(e2e_pixel "$shot" $((sx + 54)) $((sy + 115)))"
[ "$r" -gt 180 ] && [ "$g" -gt 60 ] && [ "$g" -lt 170 ] && [ "$b" -lt 90 ] || e2e_fail "no ball in the logo: $r,$g,$b"

# Help, when the help window is there to open: it opens beside the splash,
# which stays. It is moved aside so that it does not cover the splash.
help_id=""
e2e_click $((sx + 256)) $((sy + 196))
for _ in $(seq 60); do
    help_id="$(visible '^Tallivox Help$')"
    [ -n "$help_id" ] && break
    sleep 0.05
done
if [ -n "$help_id" ]; then
    [ -n "$(visible '^Tallivox - Splash$')" ] || e2e_fail "Help took the splash away"
    [ -z "$(visible '^Tallivox$')" ] || e2e_fail "Help handed over to the score box"
    xdotool windowmove --sync "$help_id" 860 0 2>/dev/null || xdotool windowmove "$help_id" 860 0
else
    echo "note: no help window appeared within 3 s; the Help step is skipped"
fi

# Options, when the dialog is there to open: it is modal over the splash and
# Esc closes it; the splash stays and the score box does not come.
before="$(xdotool search --onlyvisible --name '.' 2>/dev/null | sort || true)"
e2e_click $((sx + 352)) $((sy + 196))
dialog_id=""
for _ in $(seq 60); do
    dialog_id="$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --name '.' 2>/dev/null | sort || true) | sed -n 1p)"
    [ -n "$dialog_id" ] && break
    sleep 0.05
done
if [ -n "$dialog_id" ]; then
    [ -z "$(visible '^Tallivox$')" ] || e2e_fail "Options handed over to the score box"
    e2e_shot options >/dev/null
    xdotool windowfocus --sync "$dialog_id" 2>/dev/null || xdotool windowfocus "$dialog_id"
    xdotool key --clearmodifiers Escape
    for _ in $(seq 60); do
        xdotool search --onlyvisible --name '.' 2>/dev/null | grep -x "$dialog_id" >/dev/null || break
        sleep 0.05
    done
    ! xdotool search --onlyvisible --name '.' 2>/dev/null | grep -x "$dialog_id" >/dev/null || e2e_fail "Esc did not close the options dialog"
    [ -n "$(visible '^Tallivox - Splash$')" ] || e2e_fail "the splash went with the options dialog"
    [ -z "$(visible '^Tallivox$')" ] || e2e_fail "closing the options dialog handed over"
else
    echo "note: no options dialog appeared within 3 s; the Options step is skipped"
fi

# A click on the logo hands over: the splash goes, the box comes with every default.
e2e_continue_from_splash
grep -q "handing over" "$E2E_DIR/app.log" || e2e_fail "no hand-over in the log"
[ -z "$(visible '^Tallivox - Splash$')" ] || e2e_fail "the splash is still up"
[ "$(position "$WINDOW_ID")" = 0,0 ] || e2e_fail "the box is not at 0,0: $(position "$WINDOW_ID")"
box="$(e2e_shot box)"
[ "$(e2e_pixel "$box" 100 39)" = "64,64,64" ] || e2e_fail "box background is $(e2e_pixel "$box" 100 39)"
# The rounded outline: the very corners show the white desktop.
[ "$(e2e_pixel "$box" 0 0)" = "255,255,255" ] || e2e_fail "corner is not cut away: $(e2e_pixel "$box" 0 0)"
[ "$(e2e_pixel "$box" 360 77)" = "255,255,255" ] || e2e_fail "far corner is not cut away: $(e2e_pixel "$box" 360 77)"
if [ -n "$help_id" ]; then
    [ -n "$(visible '^Tallivox Help$')" ] || e2e_fail "the help window went with the splash"
fi

# Move the box, then Esc: everything ends and the placement is stored.
xdotool mousemove --sync 15 15 mousedown 1
xdotool mousemove --sync 115 90
xdotool mousemove --sync 215 165 mouseup 1
moved() { [ "$(position "$WINDOW_ID")" = 200,150 ]; }
e2e_until moved || e2e_fail "the drag did not move the box: $(position "$WINDOW_ID")"
e2e_key Escape
e2e_wait_exit
[ "$(e2e_setting Views StartX)" = 3000 ] || e2e_fail "StartX not saved: $(e2e_setting Views StartX)"
[ "$(e2e_setting Views StartY)" = 2250 ] || e2e_fail "StartY not saved: $(e2e_setting Views StartY)"
[ -z "$(xdotool search --onlyvisible --name 'Tallivox' 2>/dev/null || true)" ] || e2e_fail "a window outlived the program"

# The next run: the splash again, and the box where it was left.
e2e_launch
[ "$(position "$WINDOW_ID")" = 200,150 ] || e2e_fail "the box is not back at 200,150: $(position "$WINDOW_ID")"
e2e_key Escape
e2e_wait_exit
e2e_pass
