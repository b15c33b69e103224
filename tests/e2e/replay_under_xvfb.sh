#!/usr/bin/env bash
# Replays are the same game in a window as headless, on a real X server (Xvfb):
#   - every golden script replayed in a window writes snapshots equal, byte for byte, to the
#     golden PNGs that the headless host made;
#   - a game played live with real key presses (xdotool), with every core busy, and recorded,
#     replays headless to the same last frame, score panel and all.
# Usage: replay_under_xvfb.sh ZOBU4 ART_DIR SCRIPTS_DIR GOLDEN_DIR
set -euo pipefail
zobu4="$1"
art="$2"
scripts="$3"
golden="$4"
source "$(dirname "$0")/x_session.sh"
begin_session zobu4-replay "$art"
open_display 1280x1024 24
export DISPLAY="$display"

# Every golden script, in a window. The golden runs start at tick 0 where a script names none;
# a window's replay goes on after its script, so Escape ends it.
for path in "$scripts"/*.script; do
    name=$(basename "$path" .script)
    last=$(sed 's/#.*//' "$path" | awk '$1 ~ /^[0-9]+$/ {t = $1} END {print t + 0}')
    { cat "$path"; echo "$((last + 1)) key Escape"; } >"$work/$name.script"
    tick=()
    grep -qE '^tick [0-9]+' "$path" || tick=(--tick 0)
    timeout 60 "$zobu4" --windowed --scale 1 "${tick[@]}" --script "$work/$name.script" \
        2>"$work/err" || fail "$name in a window: exit status $?: $(cat "$work/err")"
    for shot in $(sed 's/#.*//' "$path" | awk '$2 == "snapshot" {print $3}'); do
        cmp -s "$shot" "$golden/game_$shot" ||
            fail "$name in a window: $shot differs from the golden game_$shot (kept: $work/$shot)"
        rm "$shot"
    done
    echo "ok: $name in a window, every snapshot the golden one"
done

# A live game on a busy machine, from its first key on. Its script adds only the end: a
# snapshot at 8 s, then Escape.
printf '8000 snapshot live_end.png\n8001 key Escape\n' >"$work/end.script"
"$zobu4" --windowed --scale 1 --script "$work/end.script" --record "$work/live.script" \
    2>"$work/err" &
pid=$!
window=$(timeout 30 xdotool search --sync --name '^Zobu 4$' | head -n 1) || fail "no window"
xdotool windowfocus --sync "$window"
for _ in $(seq "$(nproc)"); do (while :; do :; done) & done
xdotool key --delay 120 Right Right space Left
xdotool keydown Left; sleep 0.8; xdotool keyup Left # held: the keyboard's auto-repeat
xdotool key --delay 150 space Right Right Right space
status=0
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "the live game: exit status $status: $(cat "$work/err")"
grep -qE '^[0-9]+ down Space$' "$work/live.script" || fail "the recording has no Space"
[ "$(grep -c ' down Left$' "$work/live.script")" -gt 3 ] || fail "the recording has no held Left"
{
    head -n 1 "$work/live.script"
    { tail -n +2 "$work/live.script"; echo "8000 snapshot replay_end.png"; } | sort -s -n -k1,1
} >"$work/replay.script"
"$zobu4" --headless --script "$work/replay.script" 2>"$work/err" ||
    fail "the headless replay: $(cat "$work/err")"
cmp -s live_end.png replay_end.png ||
    fail "the recording replays to another game (kept: $work/live.script, live_end.png, replay_end.png)"
echo "ok: a live game on a busy machine replays headless to the same last frame"
echo "1 passed, 0 failed"
