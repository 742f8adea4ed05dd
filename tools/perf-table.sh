#!/usr/bin/env bash
# Prints the rows of the table in docs/PERFORMANCE.md: CPU milliseconds per step of the library, its
# flat-array kernel and the two peers on the four reference scenes, the library against its kernel and
# the peers' time as a multiple of the library's, each the median of interleaved repetitions.
#
#   tools/perf-table.sh [-b BUILD_DIR] [-r REPETITIONS] [-o OUT_DIR] [-f FILTER]
#
# BUILD_DIR defaults to build/release (cmake --preset release && cmake --build --preset release
# --target core_bench box2d_bench chipmunk_bench); the peers are skipped, their cells "n/a", when
# they were not built (Debian's libbox2d-dev and libchipmunk-dev). REPETITIONS defaults to 5. The
# JSON of each run is kept in OUT_DIR (a fresh temporary directory by default). FILTER, a Google
# Benchmark regular expression such as 'Cloth|Blobs', runs only some scenes. A run of everything takes
# over an hour on two busy cores at 5 repetitions: each big pile warms up 1,200 steps every time, and
# Chipmunk's big pile (about 0.2 s a step) and its cloth, which comes apart, are the slowest.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

build=$repo/build/release
repetitions=5
out=""
filter=""
while getopts "b:r:o:f:h" opt; do
  case $opt in
    b) build=$OPTARG ;;
    r) repetitions=$OPTARG ;;
    o) out=$OPTARG ;;
    f) filter=$OPTARG ;;
    *) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
  esac
done
if ! [[ $repetitions =~ ^[1-9][0-9]*$ ]]; then
  echo "perf-table: REPETITIONS must be a positive number" >&2
  exit 2
fi
if [ ! -x "$build/bench/core_bench" ]; then
  echo "perf-table: $build/bench/core_bench is not built (cmake --build --preset release --target core_bench)" >&2
  exit 1
fi
[ -n "$out" ] || out=$(mktemp -d "${TMPDIR:-/tmp}/perf-table.XXXXXX")
mkdir -p "$out"

run() { # name binary
  local name=$1 binary=$2
  if [ ! -x "$binary" ]; then
    echo "perf-table: $binary not built, its column stays n/a" >&2
    return 0
  fi
  echo "perf-table: running $name ($repetitions repetitions, interleaved) ..." >&2
  "$binary" --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_filter="${filter:-.}" \
    --benchmark_out="$out/$name.json" --benchmark_out_format=json >"$out/$name.txt" 2>&1
}

run core "$build/bench/core_bench"
run box2d "$build/bench/peers/box2d_bench"
run chipmunk "$build/bench/peers/chipmunk_bench"
echo "perf-table: JSON and console output in $out" >&2

python3 - "$out" <<'EOF'
import json
import os
import sys

out = sys.argv[1]
UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def medians(name):
    """{benchmark name: (median CPU ms per step, its counters)} from one run's JSON."""
    path = os.path.join(out, name + ".json")
    # A binary whose benchmarks the filter left out writes an empty file.
    if not os.path.exists(path) or os.path.getsize(path) == 0:
        return {}
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    found = {}
    for run in data.get("benchmarks", []):
        if run.get("error_occurred"):
            continue
        # The median of the repetitions; a single repetition has no aggregates and stands alone.
        if run.get("run_type") == "aggregate" and run.get("aggregate_name") != "median":
            continue
        base = run.get("run_name", run["name"]).split("/")[0]
        found[base] = (run["cpu_time"] * UNIT_MS[run.get("time_unit", "ns")], run)
    return found


core, box2d, chipmunk = medians("core"), medians("box2d"), medians("chipmunk")
scenes = [
    ("Pile", "S1 pile: 4,000 masses, grid 64, 1 pass"),
    ("Cloth", "S2 cloth: 100 x 100, 19,800 sticks, 4 passes"),
    ("Blobs", "S3 blobs: 400 blobs, 5,200 masses, 2 passes"),
    ("BigPile", "S4 big pile: 16,000 masses, 4,096 world, grid 64, 1 pass"),
]


def ms(entry):
    return f"{entry[0]:.2f}" if entry else "n/a"


def ratio(a, b):
    return f"{a[0] / b[0]:.2f}" if a and b and b[0] > 0 else "n/a"


print("| Scene | Ravel | Flat-array kernel | Ravel / kernel | Box2D 2.4.1 | Chipmunk 7.0.3 "
      "| Box2D / Ravel | Chipmunk / Ravel |")
print("|---|---|---|---|---|---|---|---|")
for key, label in scenes:
    ravel = core.get("BM_Step" + key)
    kernel = core.get("BM_Kernel" + key)
    b2 = box2d.get("BM_Box2D" + key)
    cp = chipmunk.get("BM_Chipmunk" + key)
    print(f"| {label} | {ms(ravel)} | {ms(kernel)} | {ratio(ravel, kernel)} | {ms(b2)} | {ms(cp)} "
          f"| {ratio(b2, ravel)} | {ratio(cp, ravel)} |")

# What each engine's scene looks like after the timed steps (bench/Sanity.h), to check that the
# engines did the same work: medians over the repetitions like the times.
print()
print("| Scene | Engine | touching | near | overlap | bottom | stretch | strained |")
print("|---|---|---|---|---|---|---|---|")
for key, label in scenes:
    for engine, table, name in (("Ravel", core, "BM_Step"), ("kernel", core, "BM_Kernel"),
                                ("Box2D", box2d, "BM_Box2D"), ("Chipmunk", chipmunk, "BM_Chipmunk")):
        entry = table.get(name + key)
        if not entry:
            continue
        run = entry[1]
        cells = []
        for counter, form in (("touching", "{:.0f}"), ("near", "{:.0f}"), ("overlap", "{:.2f}"),
                              ("bottom", "{:.1f}"), ("stretch", "{:.2f}"), ("strained", "{:.0f}")):
            cells.append(form.format(run[counter]) if counter in run else "n/a")
        print(f"| {label.split(':')[0]} | {engine} | " + " | ".join(cells) + " |")
EOF
