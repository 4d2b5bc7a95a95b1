#!/usr/bin/env python3
"""Prints the benchmark figures as one table.

usage: table.py BENCH_JSON STARTUP_RUNS LIVE_RUNS BACKUP_RUNS
       table.py --allstreams ALLSTREAMS_RUNS
BENCH_JSON is Google Benchmark's JSON output; STARTUP_RUNS holds the lines
of several start-up runs ("startup_ms N", "peak_rss_mb N"), LIVE_RUNS those
of the live-view runs ("live_radio_pct N", "live_frame_pct N",
"live_frame_record_pct N", "live_record_extra_pct N", and those of
allstreams.py), BACKUP_RUNS
those of several backups ("backup_ms N") and the table's size
("backup_params N")."""
import json
import statistics
import sys


def benchmark_rows(path):
    with open(path) as f:
        # The median of the repetitions.
        results = {b["run_name"]: b for b in json.load(f)["benchmarks"]
                   if b.get("aggregate_name") == "median"}

    def ns(name):
        b = results[name]
        scale = {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
        return b["real_time"] * scale

    rate = results["parserAndDecoder"]["bytes_per_second"]
    parser_rate = results["parserAlone"]["bytes_per_second"]
    return [
        ("parser + decoder throughput", f"{rate / 1e6:.0f} MB/s", ">= 300 MB/s"),
        ("parser + decoder per byte", f"{1e9 / rate:.2f} ns", ""),
        ("parser alone throughput", f"{parser_rate / 1e6:.0f} MB/s", ""),
        ("updateRadioValue, sticks moving", f"{ns('updateRadioValue') / 1e3:.1f} us", "<= 50 us"),
        ("updateRadioValue, every switch flipped",
         f"{ns('updateRadioValueSwitchesFlipped') / 1e3:.1f} us", ""),
        ("RC frame end to end, sticks moving", f"{ns('rcFrameEndToEnd') / 1e3:.1f} us",
         "<= 50 us"),
        ("RC frame end to end, repainted", f"{ns('rcFrameRepainted') / 1e3:.1f} us", ""),
        ("ATTITUDE frame end to end", f"{ns('attitudeFrameEndToEnd') / 1e3:.1f} us", ""),
        ("live stream frame, radio tab repainted",
         f"{ns('recordedStreamRepainted') / 1e3:.1f} us", ""),
        ("All Parameters, 1,000 parameters: a keystroke in the filter",
         f"{ns('filterThousandParameters') / 1e6:.1f} ms", "<= 50 ms"),
        ("All Parameters, 1,000 parameters: window opened",
         f"{ns('openWindowOverThousandParameters') / 1e6:.1f} ms", "<= 200 ms"),
        ("History, 10,000 change sets: dialog opened",
         f"{ns('openHistoryOfTenThousandSets') / 1e6:.1f} ms", "<= 200 ms"),
    ]


def read_runs(path):
    """Lines "KEY VALUE", gathered into a list of values per key."""
    runs = {}
    with open(path) as f:
        for line in f:
            key, value = line.split()
            runs.setdefault(key, []).append(float(value))
    return runs


def median_rows(path, figures):
    """One row per (figure, key, format, goal): the median of the key's runs."""
    runs = read_runs(path)
    return [(f"{figure} (median of {len(runs[key])})",
             fmt.format(statistics.median(runs[key])), goal)
            for figure, key, fmt, goal in figures]


STARTUP_FIGURES = [
    ("start-up to window shown", "startup_ms", "{:.0f} ms", "<= 150 ms"),
    ("peak resident memory", "peak_rss_mb", "{:.1f} MB", "<= 60 MB"),
]
LIVE_FIGURES = [
    ("live view, radio tab shown", "live_radio_pct", "{:.2f} %", "<= 1 %"),
    ("live view, frame tab shown", "live_frame_pct", "{:.2f} %", ""),
    ("live view, frame tab shown, recording", "live_frame_record_pct", "{:.2f} %", ""),
    ("recording's extra share, paired runs", "live_record_extra_pct", "{:.2f} %", "< 0.2 %"),
]


def allstreams_figures():
    """Every stream at 50 Hz, the Read buttons of three tabs pressed."""
    figures = []
    for tab, share_goal in [("radio", "<= 1 %"), ("frame", "<= 0.5 %")]:
        name = f"all streams 50 Hz, {tab} tab"
        figures += [(f"{name}: CPU share", f"allstreams_{tab}_pct", "{:.2f} %", share_goal),
                    (f"{name}: re-polishes/s", f"allstreams_{tab}_repolish_per_s", "{:.1f}", ""),
                    (f"{name}: widget paints/s", f"allstreams_{tab}_paints_per_s", "{:.0f}", ""),
                    (f"{name}: read() calls/s", f"allstreams_{tab}_reads_per_s", "{:.0f}", "")]
    return figures


def backup_rows(path):
    runs = read_runs(path)
    count = len(runs["backup_ms"])
    params = int(runs["backup_params"][-1])
    return [
        (f"backup of {params} parameters, real process (median of {count})",
         f"{statistics.median(runs['backup_ms']):.0f} ms", "<= 3000 ms"),
    ]


def main():
    if sys.argv[1] == "--allstreams":
        rows = median_rows(sys.argv[2], allstreams_figures())
    else:
        rows = (benchmark_rows(sys.argv[1]) + median_rows(sys.argv[2], STARTUP_FIGURES) +
                median_rows(sys.argv[3], LIVE_FIGURES + allstreams_figures()) +
                backup_rows(sys.argv[4]))
    width = max(len(r[0]) for r in rows)
    print(f"| {'figure'.ljust(width)} | measured | goal |")
    print(f"|{'-' * (width + 2)}|----------|------|")
    for name, value, goal in rows:
        print(f"| {name.ljust(width)} | {value} | {goal} |")


main()
