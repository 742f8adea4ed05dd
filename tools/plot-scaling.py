#!/usr/bin/python3
"""Draws the pile's time per step against its number of masses, grid on and off, log-log.

Reads the JSON that scaling_bench writes with --benchmark_out=FILE (or --benchmark_format=json on
standard output) and writes a PNG, docs/scaling.png by default:

    build/release/bench/scaling_bench --benchmark_out=scaling.json --benchmark_out_format=json
    tools/plot-scaling.py scaling.json

Needs Debian's python3-matplotlib, hence Debian's own interpreter in the first line.
"""
import argparse
import json
import os
import sys

import matplotlib

matplotlib.use("Agg")  # no display: write the file only
import matplotlib.pyplot as plt  # noqa: E402

# Google Benchmark's time units, in nanoseconds.
UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def load(path):
    """Returns {grid: [(masses, ns per step of CPU time), ...]} sorted by masses, {masses: world side}
    and the run's context."""
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    lines = {}
    worlds = {}
    for run in data.get("benchmarks", []):
        if not run.get("name", "").startswith("BM_ScalingPile/"):
            continue
        if run.get("run_type", "iteration") != "iteration" or run.get("error_occurred"):
            continue
        ns = run["cpu_time"] * UNIT_NS[run.get("time_unit", "ns")]
        lines.setdefault(int(run["grid"]), []).append((int(run["masses"]), ns))
        if "world" in run:
            worlds[int(run["masses"])] = int(run["world"])
    for points in lines.values():
        points.sort()
    return lines, worlds, data.get("context", {})


def main():
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("json", help="scaling_bench's JSON output")
    parser.add_argument("-o", "--output", default=os.path.join(repo, "docs", "scaling.png"))
    args = parser.parse_args()

    lines, worlds, context = load(args.json)
    if not lines:
        sys.exit(f"plot-scaling: no BM_ScalingPile runs in {args.json}")

    fig, ax = plt.subplots(figsize=(7.5, 5.0), dpi=100)
    styles = {1: ("grid on (64 x 64 cells)", "o-", "tab:blue"), 0: ("grid off (every pair)", "s-", "tab:red")}
    for grid in (1, 0):
        if grid not in lines:
            continue
        label, marker, colour = styles[grid]
        xs = [m for m, _ in lines[grid]]
        ys = [ns for _, ns in lines[grid]]
        ax.plot(xs, ys, marker, color=colour, label=label)
        for x, y in zip(xs, ys):
            ax.annotate(f"{y / 1e6:.3g} ms", (x, y), textcoords="offset points", xytext=(4, -12 if grid else 6),
                        fontsize=7, color=colour)

    # Guides through the smallest grid-on point: linear and quadratic growth.
    first = lines.get(1, lines.get(0))[0]
    xs = sorted({m for points in lines.values() for m, _ in points})
    for power, name in ((1, "n"), (2, "n\u00b2")):
        ys = [first[1] * (x / first[0]) ** power for x in xs]
        ax.plot(xs, ys, ":", color="grey", linewidth=0.8)
        ax.annotate(name, (xs[-1], ys[-1]), textcoords="offset points", xytext=(3, -12), fontsize=8, color="grey")

    # Where the pile moves to a larger world (the grid keeps 64 x 64 cells, so they grow with it): a
    # line between the last size of one world and the first of the next, each side labelled.
    sizes = sorted(worlds)
    for smaller, larger in zip(sizes, sizes[1:]):
        if worlds[smaller] == worlds[larger]:
            continue
        x = (smaller * larger) ** 0.5
        ax.axvline(x, linestyle="--", color="grey", linewidth=0.8)
        for side, align, offset in ((worlds[smaller], "right", -4), (worlds[larger], "left", 4)):
            ax.annotate(f"{side:,} world\ncells of {side // 64} units", (x, 1.0),
                        xycoords=("data", "axes fraction"), textcoords="offset points", xytext=(offset, -6),
                        ha=align, va="top", fontsize=7, color="grey")

    ax.set_xscale("log")
    ax.set_yscale("log")
    ax.set_xticks(xs)
    ax.set_xticklabels([f"{x:,}" for x in xs])
    ax.minorticks_off()
    ax.set_xlabel("masses in the pile")
    ax.set_ylabel("CPU time per step (ns)")
    cpus = context.get("num_cpus")
    ax.set_title("S1 pile: time per step" + (f" ({cpus} cores, one thread)" if cpus else ""))
    ax.grid(True, which="major", linewidth=0.3)
    ax.legend(loc="upper left")
    fig.tight_layout()
    fig.savefig(args.output)
    print(f"plot-scaling: wrote {args.output}")


if __name__ == "__main__":
    main()
