#!/usr/bin/env bash
# End to end on a real X server: zobu4 --windowed under Xvfb, real key events from xdotool,
# screenshots of the X screen with ImageMagick's import.
#   - Right three times and Space: the Dropper moves 6 pixels at the window's scale, and
#     the score panel stands at the window's top-left corner;
#   - Escape ends the game with exit status 0 within 2 s;
#   - the window's close button (WM_DELETE_WINDOW) does the same, and so do Alt+F4 and
#     SIGTERM, also during start-up;
#   - a start without art in a window exits 1;
#   - on a 16:9 screen the window and the whole screen take the scale that fits both ways.
# Usage: play_under_xvfb.sh ZOBU4 X11_CLOSE ART_DIR
set -euo pipefail
export PYTHONPATH="$(cd "$(dirname "$0")" && pwd)" # pictures.py
zobu4="$1"
x11_close="$2"
art="$3"
source "$(dirname "$0")/x_session.sh"
begin_session zobu4-xvfb "$art"
open_display 1280x1024 24
export DISPLAY="$display"

# Starts the game and waits for its window; sets $pid and $window.
start() {
    "$zobu4" --windowed --scale 1 "$@" >"$work/out" 2>"$work/err" &
    pid=$!
    window=$(timeout 10 xdotool search --sync --name '^Zobu 4$' | head -n 1) || fail "no window"
    # There is no window manager to give it the focus, as the user's would.
    xdotool windowfocus --sync "$window"
    sleep 0.5 # the first frames
}

# Waits up to 2 s for the game to end; fails unless it ended with status 0 and said nothing.
expect_clean_exit() {
    for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "$1: still running after 2 s"
    status=0
    wait "$pid" || status=$?
    [ "$status" = 0 ] || fail "$1: exit status $status"
    [ ! -s "$work/err" ] || fail "$1: said $(cat "$work/err")"
    echo "ok: $1 ends the game, exit status 0"
}

# The window's picture as PPM: 640 x 480 from the window's corner.
shot() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "640x480+$X+$Y" +repage -depth 8 "$1"
}

start
shot "$work/before.ppm"
xdotool key Right Right Right space # through XTEST: real key events, to the focus
sleep 0.5
shot "$work/after.ppm"
python3 - "$work/before.ppm" "$work/after.ppm" <<'PY' || fail "what the window shows"
import sys
from pictures import read, leftmost
before, after = read(sys.argv[1]), read(sys.argv[2])
# The Dropper starts at x 256, y 85: its hat's star is at (320, 110).
star = before(320, 110)
shift = leftmost(after, star) - leftmost(before, star)
print(f"the Dropper moved {shift} pixels")
assert shift == 6, shift
# The panel's plaque at the top-left, brass; its cut corner shows the sky behind it.
r, g, b = after(100, 50)
assert r > 150 and r > g > b, ("no plaque at the top-left", (r, g, b))
assert after(0, 0)[0] < 100, ("the corner should show the sky", after(0, 0))
print("the panel stands at the top-left")
PY
xdotool key Escape
expect_clean_exit "Escape"

start
"$x11_close" "$window"
expect_clean_exit "the close button"

start
xdotool key alt+F4
expect_clean_exit "Alt+F4"

start
kill -TERM "$pid"
expect_clean_exit "SIGTERM"

# A signal during start-up, before the window shows, is kept for the game's first wait.
# The signal goes as soon as the game catches it (SigCgt in /proc), which is before SDL opens
# anything: a fixed delay would, on a loaded machine, land before the program's main.
"$zobu4" --windowed --scale 1 >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 200); do
    caught=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    (( (0x${caught:-0} >> 14) & 1 )) && break # SIGTERM is signal 15, bit 14
    sleep 0.005
done
kill -TERM "$pid"
expect_clean_exit "SIGTERM during start-up"

# A start that fails in a window is a failure too: without its art the game ends with 1.
mkdir "$work/no-art"
status=0
(cd "$work/no-art" && "$zobu4" --windowed --scale 1) >/dev/null 2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "a start without art: exit status $status, not 1"
echo "ok: a start without art in a window exits 1"

# On a 16:9 screen the picture takes the scale that fits both ways: a window of scale 1 by
# default (80 % of 1080 rows holds one 480), and over the whole screen scale 2, centred, so
# that the hat's star at (320, 110) of the picture shows at (960, 280) of the screen.
open_display 1920x1080 24
export DISPLAY="$display"
"$zobu4" --windowed >/dev/null 2>"$work/err" &
pid=$!
window=$(timeout 10 xdotool search --sync --name '^Zobu 4$' | head -n 1) || fail "no window"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH x $HEIGHT" = "640 x 480" ] || fail "the default window on 16:9 is $WIDTH x $HEIGHT"
kill -TERM "$pid"
expect_clean_exit "the default window on a 16:9 screen"
# There is no window manager to make a window full screen: the window is given the whole
# screen's size instead, which the picture fits the same way.
"$zobu4" --windowed >/dev/null 2>"$work/err" &
pid=$!
window=$(timeout 10 xdotool search --sync --name '^Zobu 4$' | head -n 1) || fail "no window"
xdotool windowmove --sync "$window" 0 0
xdotool windowsize --sync "$window" 1920 1080
sleep 1
import -window root -depth 8 "$work/wide.ppm"
python3 - "$work/before.ppm" "$work/wide.ppm" <<'PY' || fail "the whole 16:9 screen"
import sys
from pictures import read
star = read(sys.argv[1])(320, 110)
wide = read(sys.argv[2])
assert wide(960, 280) == star and wide(961, 281) == star, (wide(960, 280), star)
assert wide(100, 540) == (0, 0, 0), "black bars at the sides"
print("a window the size of the 16:9 screen shows the picture at scale 2, centred")
PY
kill -TERM "$pid"
expect_clean_exit "the whole 16:9 screen"
echo "1 passed, 0 failed"
