#!/usr/bin/env bash
# desktop_smoke.sh ZEFA_GCS ZEFA_FC_SIM OUTDIR
# The real program in a real X window: connect with Ctrl+O against the
# simulated FC, check what reached the FC and the window title, take a
# screenshot, quit with Ctrl+Q.
set -uo pipefail

gcs=$1
sim=$2
out=$3
mkdir -p "$out"
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "smoke: $*" >&2; exit 1; }

if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    echo "smoke: SKIP: Xvfb or xdotool not installed"
    exit 77
fi

# A free display number, and a server that really started.
for display in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "smoke: SKIP: no X server could be started"
    exit 77
fi
unset QT_QPA_PLATFORM

"$sim" --log "$work/frames.log" >"$work/sim.out" 2>"$work/sim.err" &
pids+=($!)
for _ in $(seq 50); do
    [ -s "$work/sim.out" ] && break
    sleep 0.1
done
port=$(head -n 1 "$work/sim.out")
[ -n "$port" ] || fail "the simulator printed no port"

# --port must win over the environment, or Connect opens nothing.
ZEFA_GCS_PORT=/dev/zefa-no-such-port "$gcs" --port "$port" >"$work/gcs.log" 2>&1 &
gcs_pid=$!
pids+=("$gcs_pid")

title="ZEFA R7 series of flight controller assistant software"
window=$(xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
[ -n "$window" ] || fail "no window titled '$title'"
[ "$(xdotool getwindowname "$window")" = "$title" ] || fail "window title differs"

xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+o

# The FC answers the firmware version request with a PARAM_VALUE.
for _ in $(seq 100); do
    grep -q ' FC 22 ' "$work/frames.log" 2>/dev/null && break
    sleep 0.1
done
grep -q ' FC 22 ' "$work/frames.log" || fail "the simulator never answered"
requests=$(awk '$2 == "GCS" { print $3 " " $4 }' "$work/frames.log")
name_hex=$(printf 'ZEFAVERSION' | od -An -tx1 | tr -d ' \n')
[ "$(echo "$requests" | wc -l)" -eq 1 ] || fail "expected one request, saw: $requests"
read -r msgid hex <<<"$requests"
[ "$msgid" = 20 ] && [[ $hex == *"$name_hex"* ]] ||
    fail "the request was not PARAM_REQUEST_READ ZEFAVERSION: $requests"

sleep 0.5
import -window root "$out/smoke-connected.png" 2>/dev/null || xwd -root -silent >"$out/smoke-connected.xwd"

xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
for _ in $(seq 50); do
    kill -0 "$gcs_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$gcs_pid" 2>/dev/null && fail "Ctrl+Q did not end the program"
wait "$gcs_pid"
status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
echo "smoke: connected, answered, quit cleanly; screenshot in $out"
