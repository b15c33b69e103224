#!/usr/bin/env bash
# Runs a Windows test program under Wine, in a prefix of its own and on a display of its own
# (its windows need one), both gone afterwards; its exit status is the program's.
# Usage: under_wine.sh PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
source "$(dirname "$0")/../../tools/wine_session.sh"
# No window manager runs on this display: Wine is told its windows are its own, or it waits
# two seconds at each hidden window for a manager to take it back.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
wine "$@"
