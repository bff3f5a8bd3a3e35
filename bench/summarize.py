#!/usr/bin/env python3
"""Turns the JSON output of ravlet_bench into the Markdown tables of bench/README.md.

Usage: summarize.py results.json
With repetitions the median rows are used. Times are CPU times (the cost of the code;
the machine is shared) with the real time beside them; x memchr is the CPU time over one
memchr pass across the same bytes; the frame verdict compares the CPU time with 16 ms.
"""
import json
import sys

FRAME_MS = 16.0
TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def fmt_ms(ms):
    if ms < 0.01:
        return f"{ms * 1000:.2f} µs"
    if ms < 1:
        return f"{ms * 1000:.0f} µs"
    return f"{ms:.1f} ms"


def fmt_bytes(b):
    if b < 1024:
        return f"{b:.0f} B"
    if b < 1024 * 1024:
        return f"{b / 1024:.1f} KiB"
    return f"{b / 1024 / 1024:.2f} MiB"


def main(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    rows = data["benchmarks"]
    has_median = any(r.get("aggregate_name") == "median" for r in rows)
    ctx = data["context"]
    print(f"Run: {ctx.get('date')}, {ctx.get('num_cpus')} CPUs at {ctx.get('mhz_per_cpu')} MHz, "
          f"load average {', '.join(f'{x:.2f}' for x in ctx.get('load_avg', []))}, "
          f"{'median of repetitions' if has_median else 'single run'}.\n")
    print("| benchmark | CPU time | real time | x memchr | allocs | alloc bytes | under 16 ms |")
    print("|---|---:|---:|---:|---:|---:|---|")
    bigo = []
    for r in rows:
        agg = r.get("aggregate_name")
        if agg in ("BigO", "RMS"):
            bigo.append(r)
            continue
        if has_median and agg != "median":
            continue
        if not has_median and r.get("run_type") != "iteration":
            continue
        if r.get("error_occurred"):
            print(f"| {r['run_name']} | error: {r.get('error_message')} | | | | | |")
            continue
        unit = TO_MS[r.get("time_unit", "ns")]
        cpu, real = r["cpu_time"] * unit, r["real_time"] * unit
        verdict = "yes" if cpu < FRAME_MS else "**no**"
        print(f"| {r['run_name']} | {fmt_ms(cpu)} | {fmt_ms(real)} | {r.get('x_memchr', 0):.1f} "
              f"| {r.get('allocs', 0):.0f} | {fmt_bytes(r.get('alloc_bytes', 0))} | {verdict} |")
    if bigo:
        print("\n| sweep | fitted | CPU ns per byte | RMS of the fit |")
        print("|---|---|---:|---:|")
        fits = {}
        for r in bigo:
            fits.setdefault(r["run_name"], {})[r["aggregate_name"]] = r
        for name, f in fits.items():
            b, rms = f.get("BigO", {}), f.get("RMS", {})
            ns = b.get("cpu_coefficient", 0) * TO_MS[b.get("time_unit", "ns")] * 1e6
            print(f"| {name} | {b.get('big_o', '?')} | {ns:.4f} "
                  f"| {rms.get('rms', 0) * 100:.0f} % |")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
