#!/bin/sh
# Records a --backup run against the simulated FC, streams on, with
# --record and has node-mavlink (installed here from the npm registry into
# WORKDIR, never into the source tree) read every frame of the log.
# Usage: readtlog.sh ZEFA_GCS ZEFA_FC_SIM WORKDIR. Fails without node and npm,
# which scripts/test installs; skipped (exit 77) when the registry cannot be
# reached, except in CI (CI=true), where that fails too.
set -eu
gcs=$1
sim=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work/node"

if ! command -v npm >/dev/null || ! command -v node >/dev/null; then
    echo "FAIL: node and npm are needed to install and run node-mavlink;" \
        "install the packages nodejs and npm (scripts/test does)"
    exit 1
fi
if [ ! -d "$work/node/node_modules/node-mavlink" ] &&
    ! npm install --prefix "$work/node" --no-audit --no-fund --no-save node-mavlink@2 >"$work/npm.log" 2>&1; then
    cat "$work/npm.log"
    if [ "${CI:-}" = true ]; then
        echo "FAIL: npm could not install node-mavlink"
        exit 1
    fi
    echo "SKIP: npm could not install node-mavlink (no registry?)"
    exit 77
fi
cp "$here/readtlog.mjs" "$work/node/"

rm -f "$work/sim.out"
"$sim" --stream 3=50 --stream 10=10 --stream 2=2 >"$work/sim.out" &
simPid=$!
trap 'kill $simPid 2>/dev/null || true' EXIT
until [ -s "$work/sim.out" ]; do sleep 0.1; done
port=$(head -n 1 "$work/sim.out")

rm -f "$work/session.tlog"
"$gcs" --port "$port" --backup "$work/backup.param" --record "$work/session.tlog" 2>"$work/gcs.err" ||
    { cat "$work/gcs.err"; exit 1; }
frames=$(sed -n 's/^Recorded \([0-9]*\) frames to .*/\1/p' "$work/gcs.err")
[ -n "$frames" ] || { cat "$work/gcs.err"; echo "no recording reported"; exit 1; }
node "$work/node/readtlog.mjs" "$work/session.tlog" "$frames"
