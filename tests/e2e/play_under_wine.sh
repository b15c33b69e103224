#!/usr/bin/env bash
# The Windows zip, end to end under Wine: unzipped into a folder of its own, zobu4.exe runs on
# a private 640x480x16 Xvfb with a Wine prefix of its own, and
#   - a window titled "Zobu 4" appears, and its first frame equals the Linux build's golden
#     first frame outside the score panel and the Pot's band;
#   - three Right presses move the Dropper 6 pixels, as in the Linux build;
#   - Escape, and Alt+F4, end it with exit status 0;
#   - with Bitmaps/back1.bmp missing it ends with status 1, leaving no window behind.
# What Wine draws itself differs from Windows and is compared around, never loosened:
#   - the panel is a dialog in Wine's own font, so its size differs: the panel's corner is
#     left out (its Linux look is the golden tests' business);
#   - the Pot wanders from a seed Windows takes from its own tick count, so its band is left
#     out;
#   - the screen is 16-bit: pixels are compared as the 5:6:5 values the game wrote, since X's
#     screenshot and our PNG writer widen those to 8 bits in different ways.
# Usage: play_under_wine.sh ZIP GOLDEN_FIRST_FRAME
set -euo pipefail
export PYTHONPATH="$(cd "$(dirname "$0")" && pwd)" # pictures.py
zip=$(realpath "$1")
golden=$(realpath "$2")
fail() { echo "FAIL: $*"; exit 1; }
# Wine's prefix on a display of our own, in the mode the game asks for.
source "$(dirname "$0")/../../tools/wine_session.sh"
wine_draw_with_gdi

mkdir "$work/unzipped"
(cd "$work/unzipped" && python3 -m zipfile -e "$zip" .)
game=$(dirname "$(find "$work/unzipped" -name zobu4.exe | head -n 1)")
[ -f "$game/zobu4.exe" ] && [ -f "$game/Bitmaps/back1.bmp" ] && [ -f "$game/README.txt" ] ||
    fail "the zip lacks zobu4.exe, Bitmaps/ or README.txt"

# Starts the game from its folder and waits for its window; sets $pid and $window.
start() {
    (cd "$game" && exec wine ./zobu4.exe) >"$work/out" 2>"$work/err" &
    pid=$!
    window=$(timeout 30 xdotool search --sync --name '^Zobu 4$' | head -n 1) || fail "no window"
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    sleep 1.5 # the first frames
}

# Waits up to 5 s for the game to end; fails unless it ended with the status given.
expect_exit() {
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "$1: still running after 5 s"
    status=0
    wait "$pid" || status=$?
    [ "$status" = "$2" ] || fail "$1: exit status $status, not $2"
    echo "ok: $1 ends the game, exit status $2"
}

shot() {
    import -window root -depth 8 "$1"
}

start
shot "$work/first.ppm"
xdotool key --delay 100 Right Right Right
sleep 1
shot "$work/after.ppm"
python3 - "$golden" "$work/first.ppm" "$work/after.ppm" <<'PY' || fail "what the window shows"
import sys
from pictures import read, leftmost
def rgb565(p):
    return (p[0] >> 3, p[1] >> 2, p[2] >> 3)
golden, first, after = read(sys.argv[1]), read(sys.argv[2]), read(sys.argv[3])
PANEL_RIGHT, PANEL_BOTTOM = 200, 64  # Wine's panel is wider than Windows' (its font)
POT_TOP = 405                        # the Pot's band, to the bottom
differ = [(x, y) for y in range(POT_TOP) for x in range(640)
          if not (x < PANEL_RIGHT and y < PANEL_BOTTOM)
          and rgb565(first(x, y)) != rgb565(golden(x, y))]
print(f"first frame: {len(differ)} pixels differ from the Linux golden frame")
assert not differ, differ[:10]
star = first(320, 110)  # the hat's star, with the Dropper at its start
shift = leftmost(after, star) - leftmost(first, star)
print(f"the Dropper moved {shift} pixels")
assert shift == 6, shift
PY
echo "ok: the first frame is the Linux one, and three Rights move the Dropper 6 pixels"
xdotool key Escape
expect_exit "Escape" 0

start
xdotool key alt+F4
expect_exit "Alt+F4" 0

# Without its background the game ends with status 1; no window of it is left.
rm "$game/Bitmaps/back1.bmp"
(cd "$game" && exec wine ./zobu4.exe) >"$work/out" 2>"$work/err" &
pid=$!
expect_exit "a missing back1.bmp" 1
[ -z "$(xdotool search --name '^Zobu 4$' 2>/dev/null)" ] || fail "a window is left behind"
echo "ok: no window left behind"
echo "1 passed, 0 failed"
