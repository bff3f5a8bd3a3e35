#!/usr/bin/env python3
"""The figures of bench/README.md from the JSON output of ravlet_bench.

Usage: table.py results.json
One row per benchmark, one column per scale: the CPU time (the median of repetitions
when there are some) with, in brackets, its ratio to the previous scale: 2.0 when a
doubling of the data doubles the time, 4.0 when it quadruples it. The last column is
the time over memchr passes across the same bytes, at the smallest and largest scale.
"""
import json
import sys

TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def fmt(ms):
    return f"{ms * 1000:.1f} µs" if ms < 1 else f"{ms:.1f} ms" if ms < 100 else f"{ms:.0f} ms"


def main(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    rows = data["benchmarks"]
    medians = any(r.get("aggregate_name") == "median" for r in rows)
    times, floors, failed = {}, {}, set()
    for r in rows:
        if medians and r.get("aggregate_name") != "median":
            continue
        name, scale = r["run_name"].rsplit("/", 1)
        if r.get("error_occurred"):
            failed.add(f"{r['run_name']}: {r.get('error_message')}")
            continue
        times.setdefault(name, {})[int(scale)] = r["cpu_time"] * TO_MS[r["time_unit"]]
        floors.setdefault(name, {})[int(scale)] = r.get("x_memchr", 0)
    scales = sorted({s for t in times.values() for s in t})
    ctx = data["context"]
    print(f"Run of {ctx.get('date')}, load average {', '.join(f'{x:.1f}' for x in ctx.get('load_avg', []))}, "
          f"{'median of repetitions' if medians else 'one run'}, CPU time.\n")
    print("| benchmark | " + " | ".join(f"x{s}" for s in scales) + f" | x memchr (x{scales[0]}, x{scales[-1]}) |")
    print("|---|" + "---:|" * (len(scales) + 1))
    for name, t in times.items():
        cells = [fmt(t[s]) + (f" ({t[s] / t[p]:.1f})" if i and (p := scales[i - 1]) in t else "") if s in t else "-"
                 for i, s in enumerate(scales)]
        f = floors[name]
        print(f"| {name} | " + " | ".join(cells) + f" | {f[min(f)]:.1f}, {f[max(f)]:.1f} |")
    for line in sorted(failed):
        print(f"\nFailed: {line}")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
