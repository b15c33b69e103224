#!/usr/bin/env bash
# Runs a Windows test program under Wine, in a prefix of its own that is gone afterwards;
# its exit status is the program's. Usage: under_wine.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
work=$(mktemp -d /tmp/zobu4-wine-test-XXXXXX)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wineboot -i >/dev/null 2>&1
wine "$@"
