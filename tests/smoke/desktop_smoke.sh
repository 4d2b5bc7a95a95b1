#!/usr/bin/env bash
# desktop_smoke.sh ZEFA_GCS ZEFA_FC_SIM OUTDIR
# The real program in a real X window: connect with Ctrl+O against the
# simulated FC, check what reached the FC and the window title, take a
# screenshot, quit with Ctrl+Q. Every wait has a time-out, and the X server
# picks a free display itself, so several runs can share a machine.
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

fail() {
    echo "smoke: $*" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- ${log##*/}"; tail -n 20 "$log"; } >&2
    done
    exit 1
}

# wait_for SECONDS WHAT COMMAND...: runs COMMAND until it succeeds, and fails
# naming WHAT when it has not within SECONDS.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "waited ${seconds} s for $what"
        sleep 0.1
    done
}

# running PID WHAT: fails when the process has already ended.
running() { kill -0 "$1" 2>/dev/null || fail "$2 exited early"; }

# run_within SECONDS WHAT COMMAND...: COMMAND must finish, successfully,
# within SECONDS.
run_within() {
    local seconds=$1 what=$2
    shift 2
    timeout "$seconds" "$@" || fail "waited ${seconds} s for $what (status $?)"
}

if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    echo "smoke: SKIP: Xvfb or xdotool not installed"
    exit 77
fi

# Xvfb writes the display it took to the descriptor once it accepts clients.
# -noreset: the probe below is the server's first client; when it left, the
# server would reset, and a client arriving meanwhile can be turned away.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
pids+=("$xvfb_pid")
display_reported() {
    running "$xvfb_pid" Xvfb
    grep -q '^[0-9][0-9]*$' "$work/display"
}
wait_for 15 "Xvfb to report its display" display_reported
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
# The number alone does not prove the server can be reached: a client must
# get through before the program is started.
server_answers() {
    running "$xvfb_pid" Xvfb
    timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1
}
wait_for 15 "Xvfb to answer on $DISPLAY" server_answers
# The English interface in an X window, whatever locale and desktop session
# the tests were started from.
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY LANGUAGE

"$sim" --log "$work/frames.txt" >"$work/sim.out" 2>"$work/sim.log" &
sim_pid=$!
pids+=("$sim_pid")
port_printed() {
    running "$sim_pid" "the simulator"
    [ -s "$work/sim.out" ]
}
wait_for 10 "the simulator to print its port" port_printed
port=$(head -n 1 "$work/sim.out")

# --port must win over the environment, or Connect opens nothing.
ZEFA_GCS_PORT=/dev/zefa-no-such-port "$gcs" --port "$port" >"$work/gcs.log" 2>&1 &
gcs_pid=$!
pids+=("$gcs_pid")

title="ZEFA R7 series of flight controller assistant software"
window_shown() {
    running "$gcs_pid" "the program"
    window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
    [ -n "$window" ]
}
wait_for 20 "a visible window titled '$title'" window_shown
[ "$(xdotool getwindowname "$window")" = "$title" ] || fail "window title differs"

run_within 10 "the window to take the keyboard focus" xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+o

# The FC answers the firmware version request with a PARAM_VALUE.
wait_for 15 "the simulator to answer the assistant (PARAM_VALUE in its frame log)" \
    grep -q ' FC 22 ' "$work/frames.txt"
requests=$(awk '$2 == "GCS" { print $3 " " $4 }' "$work/frames.txt")
name_hex=$(printf 'ZEFAVERSION' | od -An -tx1 | tr -d ' \n')
[ "$(echo "$requests" | wc -l)" -eq 1 ] || fail "expected one request, saw: $requests"
read -r msgid hex <<<"$requests"
[ "$msgid" = 20 ] && [[ $hex == *"$name_hex"* ]] ||
    fail "the request was not PARAM_REQUEST_READ ZEFAVERSION: $requests"

sleep 0.5
timeout 10 import -window root "$out/smoke-connected.png" ||
    echo "smoke: no screenshot (import status $?)" >&2

run_within 10 "the window to take the keyboard focus" xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
program_ended() { ! kill -0 "$gcs_pid" 2>/dev/null; }
wait_for 10 "the program to end after Ctrl+Q" program_ended
wait "$gcs_pid"
status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
echo "smoke: connected, answered, quit cleanly; screenshot in $out"
