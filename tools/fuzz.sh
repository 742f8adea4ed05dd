#!/usr/bin/env bash
# Fuzzes the body-file, zone-file, quadtree and PNG loaders and the step with libFuzzer, under
# AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer, in a clang build of its own
# (build/fuzz).
#
#   tools/fuzz.sh smoke                    bounded runs of every target, a couple of minutes in all (CI)
#   tools/fuzz.sh long [SECONDS] [TARGET]  every target (or one) for SECONDS each (default 3600) on all
#                                          cores, going on past crashes; corpora kept and grown in
#                                          build/fuzz/corpus/<target>, crashing inputs in build/fuzz/crashes
#
# Long run, e.g. overnight:  tools/fuzz.sh long 7200
# Replay one input:          build/fuzz/tests/fuzz/<target> <file>
# A crashing input worth keeping goes to tests/fuzz/regressions/<target>/, replayed by ctest (label fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-smoke}
build=build/fuzz
targets=(fuzz_body_file fuzz_zone_file fuzz_quadtree fuzz_image fuzz_physics)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRAVEL_TESTS=ON -DRAVEL_FUZZ=ON -DRAVEL_SANITIZE=ON \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$build" --target ravel_fuzz

# Seeds: the media, the PNG suite, and small files of each format written by the seed maker.
seeds="$build/seeds"
rm -rf "$seeds"
"$build/tools/fuzz_seed_maker" "$seeds"
cp media/*.rvb "$seeds/fuzz_body_file/"
cp media/*.rvz "$seeds/fuzz_zone_file/"
cp media/ravellogo.png media/smoke.png tests/data/pngsuite/*.png "$seeds/fuzz_image/"

max_len() {
  case $1 in
    fuzz_zone_file) echo 32768 ;;
    fuzz_image) echo 16384 ;;
    fuzz_physics) echo 1024 ;;
    *) echo 4096 ;;
  esac
}

# Runs per target in the smoke run, sized to each target's speed.
smoke_runs() {
  case $1 in
    fuzz_body_file) echo 20000 ;;
    fuzz_zone_file) echo 20000 ;;
    fuzz_quadtree) echo 200000 ;;
    fuzz_image) echo 30000 ;;
    fuzz_physics) echo 20000 ;;
  esac
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/crashes"

case $mode in
  smoke)
    status=0
    for t in "${targets[@]}"; do
      corpus=$(mktemp -d)
      echo "== $t: $(smoke_runs "$t") runs"
      if ! "$build/tests/fuzz/$t" -runs="$(smoke_runs "$t")" -seed=1 -max_len="$(max_len "$t")" -timeout=120 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" \
        "$corpus" "$seeds/$t" 2>"$build/$t.log"; then
        status=1
        tail -n 60 "$build/$t.log"
      fi
      grep -E '^stat::number_of_executed_units|^Done' "$build/$t.log" || true
      rm -rf "$corpus"
    done
    ctest --test-dir "$build" -L fuzz --output-on-failure || status=1
    exit $status
    ;;
  long)
    seconds=${2:-3600}
    if [ $# -ge 3 ]; then targets=("$3"); fi
    for t in "${targets[@]}"; do
      mkdir -p "$build/corpus/$t"
      echo "== $t: $seconds s"
      "$build/tests/fuzz/$t" -fork="$(nproc)" -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
        -max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" \
        "$build/corpus/$t" "$seeds/$t" 2>&1 | tee "$build/$t.log" | grep -E '^#|crash|ERROR|SUMMARY' || true
    done
    ls -l "$build/crashes"
    ;;
  *)
    echo "usage: $0 [smoke | long [SECONDS] [TARGET]]" >&2
    exit 2
    ;;
esac
