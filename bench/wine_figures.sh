#!/usr/bin/env bash
# The Windows build under Wine beside the Linux build, on one 640x480x16 Xvfb, in one run:
#  - start-up: process start to the window "Zobu 4" on the X screen, median of 5;
#  - idle CPU: the game left alone for 20 s, % of one core (under Wine, the game's processes
#    and the wineserver together).
# Usage: bench/wine_figures.sh [linux build dir] [windows build dir], from the repository's
# root, after the release build and the windows build with its zip (README).
set -euo pipefail
cd "$(dirname "$0")/.."
linux="$(pwd)/${1:-build/release}/zobu4"
zip="$(pwd)/${2:-build/windows}/zobu4-$(sed -n 's/^project(zobu4 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)-win64.zip"
source tools/wine_session.sh
wine_draw_with_gdi
(cd "$work" && python3 -m zipfile -e "$zip" .)
windows_dir=$(dirname "$(find "$work" -name zobu4.exe | head -n 1)")
ln -s "$(pwd)/Bitmaps" "$work/Bitmaps"
wineserver -p # keep the server up between runs, as on a desktop where Wine is in use

ticks() { # the CPU ticks of the given processes, summed
    local sum=0
    for p in "$@"; do
        [ -r "/proc/$p/stat" ] && sum=$((sum + $(awk '{print $14 + $15}' "/proc/$p/stat")))
    done
    echo "$sum"
}
run() { # NAME: prints the start-up in ms; with IDLE=1, then the idle CPU
    local started window
    started=$(date +%s%N)
    if [ "$1" = linux ]; then
        (cd "$work" && exec "$linux" --windowed --scale 1) >/dev/null 2>&1 &
    else
        (cd "$windows_dir" && exec wine ./zobu4.exe) >/dev/null 2>&1 &
    fi
    local pid=$!
    # xdotool's own --sync looks every half second: too coarse to time a start-up.
    for _ in $(seq 3000); do
        window=$(xdotool search --name '^Zobu 4$' 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        sleep 0.01
    done
    echo $((($(date +%s%N) - started) / 1000000)) >>"$work/startup-$1"
    if [ "${IDLE:-0}" = 1 ]; then
        sleep 2
        local pids before after
        pids=$(pgrep -f 'zobu4' | tr '\n' ' ')
        pids="$pids $(pgrep -x wineserver || true)"
        before=$(ticks $pids)
        sleep 20
        after=$(ticks $pids)
        echo "$1 idle CPU, 20 s: $(python3 -c "print(f'{($after - $before) / $(getconf CLK_TCK) / 20 * 100:.2f}')") % of one core"
    fi
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key Escape 2>/dev/null || true
    wait "$pid" || true
}
for _ in 1 2 3 4 5; do run linux; run windows; done
median() { sort -n "$1" | sed -n 3p; }
echo "start-up to the window: Linux $(median "$work/startup-linux") ms, Windows build under Wine $(median "$work/startup-windows") ms (median of 5)"
IDLE=1 run linux
IDLE=1 run windows
