#!/usr/bin/env python3
"""CPU share of the assistant showing live data, in percent of one core.

usage: liveview.py BENCH_DIR RUNS SECONDS
Each run starts the simulated FC streaming RC channels at 50 Hz, attitude
at 10 Hz and battery status at 2 Hz, and a real assistant process
(zefa-bench-live) connected to it with one tab in front; after it has
settled, the assistant's user and system time (/proc/PID/stat) over SECONDS
of wall time is its share. Runs alternate between the radio tab, the frame
tab and the frame tab while recording the session (Record Session), so all
see the same load of the machine. Prints "live_TAB_pct N" per run, with
"live_frame_record_pct N" for the recording and "live_record_extra_pct N",
the recording's share less that of the frame run just before it."""
import os
import subprocess
import sys
import time

from processtime import cpu_seconds, stopped

STREAMS = ["--stream", "3=50", "--stream", "10=10", "--stream", "2=2"]
# Key, tab and whether the session is recorded.
RUNS = [("radio", "radio", False), ("frame", "frame", False), ("frame_record", "frame", True)]
SETTLE_SECONDS = 2


def share_of_one_run(bench_dir, tab, recording, seconds):
    sim = subprocess.Popen([f"{bench_dir}/tools/fcsim/zefa-fc-sim", *STREAMS],
                           stdout=subprocess.PIPE, text=True)
    try:
        port = sim.stdout.readline().strip()
        env = dict(os.environ, ZEFA_GCS_PORT=port, QT_QPA_PLATFORM="offscreen")
        record = ["--record", f"{bench_dir}/live.tlog"] if recording else []
        gcs = subprocess.Popen([f"{bench_dir}/bench/zefa-bench-live", tab, *record], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            time.sleep(SETTLE_SECONDS)
            if gcs.poll() is not None:
                sys.exit(f"zefa-bench-live {tab} stopped with status {gcs.returncode}")
            cpu_before, wall_before = cpu_seconds(gcs.pid), time.monotonic()
            time.sleep(seconds)
            cpu_after, wall_after = cpu_seconds(gcs.pid), time.monotonic()
        finally:
            stopped(gcs)
    finally:
        stopped(sim)
    return 100 * (cpu_after - cpu_before) / (wall_after - wall_before)


def main():
    bench_dir, runs, seconds = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
    for _ in range(runs):
        shares = {}
        for key, tab, recording in RUNS:
            shares[key] = share_of_one_run(bench_dir, tab, recording, seconds)
            print(f"live_{key}_pct {shares[key]:.2f}", flush=True)
        print(f"live_record_extra_pct {shares['frame_record'] - shares['frame']:.2f}", flush=True)


main()
