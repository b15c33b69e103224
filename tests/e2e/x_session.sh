# Sourced by the end-to-end scripts that play in a real window: a work folder with the art,
# X displays of our own, and how they fail. Everything started is ended at exit.

# begin_session PREFIX ART_DIR: a fresh folder under /tmp, $work, with the art, entered.
begin_session() {
    work=$(mktemp -d "/tmp/$1-XXXXXX")
    trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
    ln -s "$2" "$work/Bitmaps"
    cd "$work"
}

# open_display GEOMETRY DEPTH: a new Xvfb screen; $display is its name. Xvfb picks a free
# number and writes it to the file it is given as a descriptor.
open_display() {
    local file="$work/display-$1x$2"
    exec {fd}>"$file"
    Xvfb -displayfd "$fd" -screen 0 "$1x$2" -nolisten tcp >/dev/null 2>&1 &
    for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.1; done
    [ -s "$file" ] || { echo "FAIL: no Xvfb of $1x$2"; exit 1; }
    display=":$(cat "$file")"
}

fail() { echo "FAIL: $*"; exit 1; }
