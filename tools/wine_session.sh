# Sourced by the scripts that run the Windows build under Wine: a work folder ($work) with a
# Wine prefix of its own, on a private 640x480x16 Xvfb (the mode the game asks for), Wine's
# prefix made, and all of it gone, Wine's server and the display too, when the script exits;
# and wine_draw_with_gdi, for the scripts that run the game.
work=$(mktemp -d /tmp/zobu4-wine-XXXXXX)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 640x480x16 -nolisten tcp >/dev/null 2>&1 &
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
wineboot -i >/dev/null 2>&1

# DirectDraw on Wine's GDI renderer, for the game itself: software OpenGL would cost a core.
wine_draw_with_gdi() {
    wineserver -w
    wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /t REG_SZ /d gdi /f >/dev/null 2>&1
    wineserver -w
}
