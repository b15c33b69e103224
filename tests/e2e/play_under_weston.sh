#!/usr/bin/env bash
# The game in a native Wayland window: weston, on its X11 backend inside an Xvfb of our own
# (which gives weston a seat, and us xdotool and screenshots of weston's output), and SDL told
# to speak Wayland (SDL_VIDEODRIVER=wayland), not X11 through XWayland.
#   - the window shows the first frame: the golden frame, where weston placed it;
#   - keys arrive: three Rights move the Dropper 6 pixels;
#   - every way out (Escape, Alt+F4, the title bar's close button, SIGTERM, SIGINT) ends the
#     game with exit status 0 and silence; how long each took is printed;
#   - where nothing can be shown (no EGL), the game ends with one line and status 1.
# Usage: play_under_weston.sh ZOBU4 ART_DIR GOLDEN_FIRST_FRAME
set -euo pipefail
export PYTHONPATH="$(cd "$(dirname "$0")" && pwd)" # pictures.py
zobu4="$1"
art="$2"
golden=$(realpath "$3")
source "$(dirname "$0")/x_session.sh"
begin_session zobu4-weston "$art"
open_display 1024x768 24
export DISPLAY="$display"

# weston's output is an X window at the root's top-left corner, 800 x 600.
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=x11-backend.so --width=800 --height=600 --socket=wayland-zobu4 \
    --idle-time=0 >"$work/weston.log" 2>&1 &
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wayland-zobu4" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/wayland-zobu4" ] || fail "weston did not start: $(tail -3 "$work/weston.log")"
export WAYLAND_DISPLAY=wayland-zobu4 SDL_VIDEODRIVER=wayland
output=$(timeout 10 xdotool search --sync --class weston | head -n 1) || fail "no weston window"

shot() {
    import -window root -crop 800x600+0+0 +repage -depth 8 "$1"
}

# Starts the game and waits for its first picture on weston's output; sets $pid and, once,
# $left and $top, where the picture lies there.
start() {
    # A shell without job control starts background jobs with SIGINT ignored; a player's
    # terminal does not.
    env --default-signal=INT "$zobu4" --windowed --scale 1 >"$work/out" 2>"$work/err" &
    pid=$!
    for _ in $(seq 50); do
        sleep 0.2
        kill -0 "$pid" 2>/dev/null || fail "the game ended at start: $(cat "$work/err")"
        shot "$work/first.ppm"
        where=$(python3 - "$work/first.ppm" "$golden" <<'PY'
import sys
from pictures import read, find
spot = find(read(sys.argv[1]), 800, 600, read(sys.argv[2]))
print(f"left={spot[0]} top={spot[1]}" if spot else "")
PY
)
        [ -n "$where" ] && break
    done
    [ -n "$where" ] || fail "the window never showed the first frame"
    eval "$where"
    xdotool windowfocus --sync "$output" 2>/dev/null # weston's own window, for XTEST's keys
}

# Waits up to 2 s for the game to end; fails unless it ended with status 0 and said nothing.
# Prints how long the quit took from $sent: when xdotool has sent the whole key or click (it
# takes 30 and 115 ms itself), or when the signal went.
expect_clean_exit() {
    (sleep 2 && kill -KILL "$pid" 2>/dev/null) &
    local watchdog=$!
    status=0
    wait "$pid" || status=$?
    local took=$((($(date +%s%N) - sent) / 1000000))
    kill "$watchdog" 2>/dev/null || true
    [ "$status" != 137 ] || fail "$1: still running after 2 s"
    [ "$status" = 0 ] || fail "$1: exit status $status"
    [ ! -s "$work/err" ] || fail "$1: said $(cat "$work/err")"
    echo "ok: $1 ends the game, exit status 0, in $took ms"
}

start
python3 - "$work/first.ppm" "$golden" "$left" "$top" <<'PY' || fail "the first frame"
import sys
from pictures import read, rgb565
shot, golden, left, top = read(sys.argv[1]), read(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
# The Pot wanders from the start, and the caret in the score box blinks: their pixels are
# the clock's, not the picture's.
POT_TOP = 405
def caret(x, y):
    return 80 <= x <= 83 and 18 <= y <= 34
differ = [(x, y) for y in range(POT_TOP) for x in range(640)
          if not caret(x, y) and rgb565(shot(left + x, top + y)) != rgb565(golden(x, y))]
print(f"first frame at ({left}, {top}) on weston's output: {len(differ)} pixels differ")
assert not differ, differ[:10]
PY
xdotool key --delay 50 Right Right Right
# On a busy machine the compositor and the game may take a while: look again for up to 5 s.
for _ in $(seq 25); do
    sleep 0.2
    shot "$work/after.ppm"
    shift=$(python3 - "$work/first.ppm" "$work/after.ppm" "$left" "$top" <<'PY'
import sys
from pictures import read
first, after, left, top = read(sys.argv[1]), read(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
star = first(left + 320, top + 110)  # the hat's star, with the Dropper at its start
def leftmost(picture):
    return min((x for y in range(top + 85, top + 245) for x in range(left, left + 640)
                if picture(x, y) == star), default=None)
print(leftmost(after) - leftmost(first) if leftmost(after) is not None else "none")
PY
)
    [ "$shift" = 6 ] && break
done
[ "$shift" = 6 ] || fail "three Rights moved the Dropper $shift pixels, not 6"
echo "ok: three Rights move the Dropper 6 pixels"
xdotool key Escape
sent=$(date +%s%N)
expect_clean_exit "Escape"

start
xdotool key alt+F4
sent=$(date +%s%N)
expect_clean_exit "Alt+F4"

# libdecor's title bar: its close button is the last of three at its right end.
start
xdotool mousemove $((left + 623)) $((top - 12)) # weston's output is at the root's corner
sleep 0.2
xdotool click 1
sent=$(date +%s%N)
expect_clean_exit "the close button"

for signal in TERM INT; do
    start
    sent=$(date +%s%N)
    kill -"$signal" "$pid"
    expect_clean_exit "SIG$signal"
done

# Without EGL a Wayland window can show nothing at all: one line, exit status 1.
status=0
SDL_VIDEO_EGL_DRIVER=/nonexistent/libEGL.so "$zobu4" --windowed --scale 1 >"$work/out" \
    2>"$work/err" || status=$?
[ "$status" = 1 ] || fail "no way to show the picture: exit status $status, not 1"
[ "$(wc -l <"$work/err")" = 1 ] || fail "no way to show the picture: said $(cat "$work/err")"
echo "ok: no way to show the picture: $(cat "$work/err")"
