#!/usr/bin/env bash
# Runs a Windows test program under Wine, in a prefix of its own and on a display of its own
# (its windows need one), both gone afterwards; its exit status is the program's.
# Usage: under_wine.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
work=$(mktemp -d /tmp/zobu4-wine-test-XXXXXX)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    wineserver -k 2>/dev/null || true
    kill $(jobs -p) 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 640x480x16 -nolisten tcp >/dev/null 2>&1 &
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
wineboot -i >/dev/null 2>&1
# No window manager runs on this display: Wine is told its windows are its own, or it waits
# two seconds at each hidden window for a manager to take it back.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wine "$@"
