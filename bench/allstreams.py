#!/usr/bin/env python3
"""The assistant's cost with every stream at 50 Hz, per tab.

usage: allstreams.py BENCH_DIR RUNS SECONDS
Each run starts the simulated FC with every stream it sends forced to 50 Hz
(--stream-rate 50) and a real assistant process (zefa-bench-live TAB --read
--count) that presses the Read buttons of the Radio Controller, Voltage and
FC Test tabs, then shows the radio or the frame tab. After it has settled,
the assistant's user and system time (/proc/PID/stat) over SECONDS of wall
time is its share of one core; the counts it prints once a second give the
style re-polishes, widget paints and read() calls per second over the same
seconds. The simulator's sticks sweep and its switches step once a second,
so 30 s or more hold every phase of its pattern. Radio and frame runs
alternate, so both see the same load of the machine. Prints per run
"allstreams_TAB_pct N", "allstreams_TAB_repolish_per_s N",
"allstreams_TAB_paints_per_s N" and "allstreams_TAB_reads_per_s N"; each
run's per-second counts ("counts CPU_MS REPOLISHES PAINTS READS") go to
BENCH_DIR/allstreams-TAB-RUN.txt."""
import os
import subprocess
import sys
import threading
import time

from processtime import cpu_seconds, stopped

TABS = ["radio", "frame"]
SETTLE_SECONDS = 3


class CountLines:
    """Collects the assistant's per-second count lines while measuring."""

    def __init__(self, stream):
        self.lines = []
        self.measuring = False
        threading.Thread(target=self._read, args=(stream,), daemon=True).start()

    def _read(self, stream):
        for line in stream:
            if self.measuring and line.startswith("counts "):
                self.lines.append([int(v) for v in line.split()[1:]])


def one_run(bench_dir, tab, seconds, log):
    sim = subprocess.Popen([f"{bench_dir}/tools/fcsim/zefa-fc-sim", "--stream-rate", "50"],
                           stdout=subprocess.PIPE, text=True)
    try:
        port = sim.stdout.readline().strip()
        env = dict(os.environ, ZEFA_GCS_PORT=port, QT_QPA_PLATFORM="offscreen")
        gcs = subprocess.Popen([f"{bench_dir}/bench/zefa-bench-live", tab, "--read", "--count"],
                               env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               text=True)
        try:
            counts = CountLines(gcs.stdout)
            time.sleep(SETTLE_SECONDS)
            if gcs.poll() is not None:
                sys.exit(f"zefa-bench-live {tab} stopped with status {gcs.returncode}")
            counts.measuring = True
            cpu_before, wall_before = cpu_seconds(gcs.pid), time.monotonic()
            time.sleep(seconds)
            cpu_after, wall_after = cpu_seconds(gcs.pid), time.monotonic()
            counts.measuring = False
        finally:
            stopped(gcs)
    finally:
        stopped(sim)
    with open(log, "w") as f:
        f.writelines("counts " + " ".join(map(str, line)) + "\n" for line in counts.lines)
    share = 100 * (cpu_after - cpu_before) / (wall_after - wall_before)
    return share, counts.lines


def per_second(lines, column):
    return sum(line[column] for line in lines) / max(1, len(lines))


def main():
    bench_dir, runs, seconds = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
    for run in range(runs):
        for tab in TABS:
            log = f"{bench_dir}/allstreams-{tab}-{run + 1}.txt"
            share, lines = one_run(bench_dir, tab, seconds, log)
            print(f"allstreams_{tab}_pct {share:.2f}")
            for column, key in [(1, "repolish"), (2, "paints"), (3, "reads")]:
                print(f"allstreams_{tab}_{key}_per_s {per_second(lines, column):.1f}")
            sys.stdout.flush()


main()
