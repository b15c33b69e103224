#!/usr/bin/env bash
# Every way out of a game in a window ends it with exit status 0 and nothing on standard
# error, however the quit falls against the window system's own traffic: Escape, Alt+F4, the
# close button, SIGTERM, SIGINT, and a replayed script's Escape, in turn, at a random moment
# of the game's first half second, on a 24-bit and a 16-bit X screen by turns.
#   --quits N   how many games to start and end (default 24)
#   --load      keep every core busy meanwhile, as a loaded machine would
# Usage: quit_stress.sh ZOBU4 X11_CLOSE ART_DIR [--quits N] [--load]
set -euo pipefail
zobu4=$(realpath "$1")
x11_close=$(realpath "$2")
art=$(realpath "$3")
shift 3
quits=24
load=false
while [ $# -gt 0 ]; do
    case "$1" in
    --quits) quits="$2"; shift 2 ;;
    --load) load=true; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
source "$(dirname "$0")/x_session.sh"
begin_session zobu4-quits "$art"
# Two displays of our own, by depth.
declare -A displays
open_display 1280x1024 24
displays[24]="$display"
open_display 640x480 16
displays[16]="$display"

if $load; then
    for _ in $(seq "$(nproc)"); do (while :; do :; done) & done
fi

printf '300 key Escape\n' >"$work/escape.script"
ways=(Escape Alt+F4 close SIGTERM SIGINT script)
declare -A clean
failures=0
for i in $(seq 0 $((quits - 1))); do
    depth=$((i % 2 ? 16 : 24))
    way=${ways[$(((i / 2) % ${#ways[@]}))]}
    export DISPLAY=${displays[$depth]}
    args=(--windowed --scale 1)
    [ "$way" = script ] && args+=(--script "$work/escape.script")
    # A background job's SIGINT is ignored from its start; this one must be able to get it.
    env --default-signal=INT "$zobu4" "${args[@]}" >/dev/null 2>"$work/err" &
    pid=$!
    if [ "$way" != script ]; then
        window=$(timeout 20 xdotool search --sync --name '^Zobu 4$' | head -n 1) || {
            echo "FAIL: game $i ($way, $depth-bit): no window"; exit 1; }
        xdotool windowfocus --sync "$window" 2>/dev/null || true
        sleep "0.$((RANDOM % 5))$((RANDOM % 10))"
        case "$way" in
        Escape) xdotool key Escape ;;
        Alt+F4) xdotool key alt+F4 ;;
        close) "$x11_close" "$window" ;;
        SIGTERM) kill -TERM "$pid" ;;
        SIGINT) kill -INT "$pid" ;;
        esac
    fi
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        echo "FAIL: game $i ($way, $depth-bit): still running 5 s after the quit"
        failures=$((failures + 1))
        continue
    fi
    status=0
    wait "$pid" || status=$?
    if [ "$status" != 0 ] || [ -s "$work/err" ]; then
        echo "FAIL: game $i ($way, $depth-bit): exit status $status, said: $(head -c 400 "$work/err")"
        failures=$((failures + 1))
    else
        clean[$way $depth]=$((${clean[$way $depth]:-0} + 1))
    fi
done
for key in "${!clean[@]}"; do echo "clean: ${clean[$key]} x $key-bit"; done | sort
echo "$((quits - failures)) of $quits quits clean$($load && echo ", every core busy")"
[ "$failures" = 0 ]
