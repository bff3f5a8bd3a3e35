#!/usr/bin/env python3
"""The growth table of the BM_Scale_* benchmarks (the window's actions at scale S).

Usage: scale_table.py results.json
One row per action, one column per scale: median CPU time (the first run's when there
are no repetitions), with the ratio to the previous scale in brackets; a doubling of
the data that doubles the time shows 2.0, one that quadruples it 4.0.
"""
import json
import sys

ACTIONS = {
    "BM_Scale_FormLoad": "start-up: read the base, list versions",
    "BM_Scale_Loadini": "load tarven.ini: read, detect, cascade",
    "BM_Scale_VersionChangeAutoset": "change version with Autoset: fill from defaults, cascade",
    "BM_Scale_Autoupdate": "Auto: transfer from old.ini, refresh",
    "BM_Scale_SelectLastGroup": "select the last group",
    "BM_Scale_SelectLastParameter": "select its last parameter",
    "BM_Scale_SelectValue": "select a value",
}
TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def fmt(ms):
    return f"{ms * 1000:.1f} µs" if ms < 1 else f"{ms:.1f} ms" if ms < 1000 else f"{ms / 1000:.2f} s"


def main(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    rows = data["benchmarks"]
    medians = any(r.get("aggregate_name") == "median" for r in rows)
    times = {}
    for r in rows:
        if not r["name"].startswith("BM_Scale_") or r.get("error_occurred"):
            continue
        if medians and r.get("aggregate_name") != "median":
            continue
        base, scale = r["run_name"].split("/")[:2]
        times.setdefault(base, {}).setdefault(int(scale), r["cpu_time"] * TO_MS[r["time_unit"]])
    scales = sorted({s for t in times.values() for s in t})
    ctx = data["context"]
    print(f"Run: {ctx.get('date')}, load average {', '.join(f'{x:.2f}' for x in ctx.get('load_avg', []))}, "
          f"{'median of repetitions' if medians else 'single run'}, CPU time.\n")
    print("| action | " + " | ".join(f"x{s}" for s in scales) + " |")
    print("|---|" + "---:|" * len(scales))
    for name, label in ACTIONS.items():
        t = times.get(name, {})
        cells = []
        for i, s in enumerate(scales):
            if s not in t:
                cells.append("-")
                continue
            prev = t.get(scales[i - 1]) if i else None
            cells.append(fmt(t[s]) + (f" ({t[s] / prev:.1f})" if prev else ""))
        print(f"| {label} | " + " | ".join(cells) + " |")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
