#!/usr/bin/env bash
# The Debian package, installed as an operator would have it. Packaging builds
# nothing but the program and what ships with it. CPack builds the package
# from this build tree; it unpacks into an empty root; its menu entry and
# AppStream file pass their validators; the changelog, the copyright file and the
# manual page are where Debian keeps them; the installed program answers --version,
# --help and a wrong argument without a display; started from the menu entry's
# command with a fresh settings folder, it shows its help text and takes its
# sounds from the installed data folder, with nothing beside the executable.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/options_helpers.bash"

for tool in cmake ninja cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli man; do
    command -v "$tool" >/dev/null || e2e_fail "$tool is missing (scripts/setup.sh installs it)"
done
version="$(sed -n 's/^project(Tallivox VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")"
[ -n "$version" ] || e2e_fail "cannot read the build's version"

# What scripts/package.sh builds: the program and the two tools that make what
# ships with it (sounds, icons), no test, benchmark or fuzz target.
cmake -S "$(dirname "$0")/../.." -B "$E2E_DIR/program-only" -G Ninja -DTALLIVOX_TESTS=OFF >"$E2E_DIR/configure.log" 2>&1 ||
    { cat "$E2E_DIR/configure.log" >&2; e2e_fail "the program alone does not configure"; }
programs="$(ninja -C "$E2E_DIR/program-only" -t targets all | sed -n 's/: CXX_EXECUTABLE_LINKER.*//p' | sort | paste -sd' ')"
[ "$programs" = "packaging/tallivox_logoicon resources/tallivox_soundsynth tallivox" ] ||
    e2e_fail "packaging builds $programs"

# Packed into this test's folder, so that a package of the build folder is left alone.
build_dir="$(dirname "$TALLIVOX_BIN")"
cpack --config "$build_dir/CPackConfig.cmake" -B "$E2E_DIR/package" >"$E2E_DIR/cpack.log" 2>&1 ||
    { cat "$E2E_DIR/cpack.log" >&2; e2e_fail "cpack failed"; }
deb="$E2E_DIR/package/tallivox_${version}_amd64.deb"
[ -f "$deb" ] || e2e_fail "no $(basename "$deb"): $(ls "$E2E_DIR/package")"
depends="$(dpkg-deb -f "$deb" Depends)"
for needed in "libqt6core6 (>=" "libqt6widgets6 (>=" "libqt6multimedia6 (>=" gstreamer1.0-plugins-good; do
    [[ "$depends" == *"$needed"* ]] || e2e_fail "the package does not depend on $needed: $depends"
done

root="$E2E_DIR/root"
dpkg-deb -x "$deb" "$root"
root="$(realpath "$root")"
usr="$root/usr"
[ "$(ls "$usr/bin")" = tallivox ] || e2e_fail "bin/ holds $(ls "$usr/bin")"
desktop="$usr/share/applications/tallivox.desktop"
desktop-file-validate "$desktop" || e2e_fail "desktop-file-validate refuses the menu entry"
appstreamcli validate --no-net "$usr/share/metainfo/tallivox.metainfo.xml" || e2e_fail "appstreamcli refuses the metainfo"
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry GenericName)" = "Basketball Scoreboard" ] || e2e_fail "GenericName is $(entry GenericName)"
[ "$(entry Categories)" = "AudioVideo;Video;" ] || e2e_fail "Categories are $(entry Categories)"
for size in 48 128 256; do
    icon="$usr/share/icons/hicolor/${size}x$size/apps/$(entry Icon).png"
    [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${size}x$size" ] || e2e_fail "no ${size}px icon at $icon"
done

# The package's documentation: the changelog of this version, the copyright
# file saying plainly that no licence is granted yet, and a manual page that
# renders without a warning and names the options and the files.
doc="$usr/share/doc/tallivox"
[ "$(gzip -dc "$doc/changelog.gz" | head -n1)" = "tallivox ($version) unstable; urgency=medium" ] ||
    e2e_fail "the changelog starts: $(gzip -dc "$doc/changelog.gz" | head -n1)"
grep -q "^No licence has been chosen for Tallivox yet" "$doc/copyright" || e2e_fail "the copyright file says: $(cat "$doc/copyright")"
manpage="$usr/share/man/man1/tallivox.1.gz"
LC_ALL=C MANWIDTH=200 man --warnings -l "$manpage" >"$E2E_DIR/man.txt" 2>"$E2E_DIR/man.err" || e2e_fail "man cannot show $manpage"
[ ! -s "$E2E_DIR/man.err" ] || e2e_fail "the manual page draws warnings: $(cat "$E2E_DIR/man.err")"
for said in "tallivox - basketball scoreboard for live video" "-v, --version" "-h, --help" \
        "\$XDG_CONFIG_HOME/Tallivox/Tallivox.ini" "\$XDG_STATE_HOME/Tallivox/game.json" "tallivoxhelpfile.rtf" \
        "buzzer.wav" "47800" "/state.json" "FeedAddress" "Tallivox $version"; do
    grep -qF -- "$said" "$E2E_DIR/man.txt" || e2e_fail "the manual page does not say $said"
done

# Answers without a display.
program="$usr/bin/tallivox"
out="$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version)" || e2e_fail "--version failed"
[ "$out" = "Tallivox $version" ] || e2e_fail "--version says: $out"
out="$(env -u DISPLAY -u WAYLAND_DISPLAY "$program" --help)" || e2e_fail "--help failed"
[[ "$out" == *"Usage: "*"--version"* ]] || e2e_fail "--help says: $out"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$program" --fullscreen >"$E2E_DIR/out.txt" 2>"$E2E_DIR/err.txt" || status=$?
[ "$status" = 2 ] || e2e_fail "a wrong argument ends with status $status"
[ ! -s "$E2E_DIR/out.txt" ] && grep -q "Unknown option 'fullscreen'" "$E2E_DIR/err.txt" && grep -q "Usage: " "$E2E_DIR/err.txt" ||
    e2e_fail "a wrong argument is not refused with the usage: $(cat "$E2E_DIR/err.txt")"

# The menu entry's command, found on the PATH as a menu finds it.
e2e_setup
export PATH="$usr/bin:$PATH"
TALLIVOX_BIN="$(entry Exec)"
[ "$TALLIVOX_BIN" = tallivox ] || e2e_fail "the menu entry runs $TALLIVOX_BIN"
export QT_LOGGING_RULES="tallivox.*.debug=true"
e2e_launch

e2e_key F1
help_id="$(e2e_wait_window '^Tallivox Help$')"
sleep 0.5
grep -q "read \"$usr/share/tallivox/tallivoxhelpfile.rtf\"" "$E2E_DIR/app.log" || e2e_fail "the help file was not read from the data folder"
# The help text fills the window line under line; the sentence of a missing file
# would leave all but its top line white.
eval "$(xdotool getwindowgeometry --shell "$help_id" | sed -n 's/^\(X\|Y\|WIDTH\|HEIGHT\)=/HELP_\1=/p')"
shot="$(e2e_shot help)"
# (Inside the frame and left of the scroll bar.)
inked_rows="$(convert "$shot" -crop "$((HELP_WIDTH - 32))x$((HELP_HEIGHT - 60))+$((HELP_X + 4))+$((HELP_Y + 60))" +repage \
    -colorspace gray -threshold 50% -negate -scale "1x$((HELP_HEIGHT - 60))!" -threshold 0 -format '%[fx:int(mean*h+0.5)]' info:)"
[ "$inked_rows" -ge 200 ] || e2e_fail "the help window shows text on $inked_rows rows below its top"
xdotool windowfocus --sync "$help_id" 2>/dev/null || true
xdotool key --clearmodifiers Escape

# OK in the options dialog stores the sound files the program found.
options_open
options_key alt+o
options_wait_closed
[ "$(e2e_setting KeySettings BuzzerFile)" = "$usr/share/tallivox/buzzer.wav" ] ||
    e2e_fail "the buzzer is $(e2e_setting KeySettings BuzzerFile)"
[ "$(e2e_setting KeySettings ShotClockFile)" = "$usr/share/tallivox/horn.wav" ] ||
    e2e_fail "the horn is $(e2e_setting KeySettings ShotClockFile)"
e2e_key Escape
e2e_wait_exit
e2e_pass
