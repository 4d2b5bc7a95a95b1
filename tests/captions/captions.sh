#!/usr/bin/env bash
# captions.sh CAPTION_FIT
# Runs the caption check under a real X server, in English and in Chinese,
# on screens announcing 96 to 192 dpi (Xft.dpi, as a desktop scaled to 100%
# to 200% in quarter steps does), so the fonts measured are those users get.
set -uo pipefail

check=$1
if ! command -v Xvfb >/dev/null; then
    echo "captions: SKIP: Xvfb not installed"
    exit 77
fi

work=$(mktemp -d)
server=
stop_server() {
    [ -n "$server" ] || return 0
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    server=
}
trap 'stop_server; rm -rf "$work"' EXIT

# start_server DPI: a server on a display number it picks itself. -noreset
# keeps the resources xrdb sets: the server would drop them when xrdb, its
# only client, disconnects.
start_server() {
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp -noreset \
        3>"$work/display" 2>"$work/xvfb.log" &
    server=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] || ! kill -0 "$server" 2>/dev/null && break
        sleep 0.1
    done
    if [ ! -s "$work/display" ]; then
        echo "captions: the X server did not start:" >&2
        cat "$work/xvfb.log" >&2
        return 1
    fi
    DISPLAY=":$(cat "$work/display")"
    export DISPLAY
    echo "Xft.dpi: $1" | timeout 10 xrdb -nocpp -merge ||
        { echo "captions: xrdb could not set Xft.dpi" >&2; return 1; }
}

status=0
for dpi in 96 120 144 168 192; do
    start_server "$dpi" || exit 1
    for lang in C.UTF-8 zh_CN.UTF-8; do
        env -u LC_ALL -u LC_CTYPE -u LC_MESSAGES -u LC_NUMERIC LANG="$lang" \
            QT_QPA_PLATFORM=xcb ZEFA_XFT_DPI="$dpi" timeout 120 "$check" || status=1
    done
    stop_server
done
exit $status
