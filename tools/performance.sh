#!/usr/bin/env bash
# Measures the game and writes docs/performance.md: builds the Windows
# program and the native benchmarks, runs the end-to-end scenario
# "performance" several times under Wine, runs the benchmarks of the rules
# and the computer players, and gathers the figures with the machine's
# description through tools/performance_report.py.
#
#   tools/performance.sh                 5 runs
#   PERF_RUNS=9 tools/performance.sh     9 runs
#   PERF_NOTE="..." tools/performance.sh adds a note on the conditions
#
# Times depend on the machine and on what else runs on it: run it on a
# quiet machine for figures to compare. The raw output stays in
# build/performance/. Not part of test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh

install_missing_packages cmake ninja-build g++ libbenchmark-dev g++-mingw-w64-x86-64 wine wine64 \
    xvfb x11-utils imagemagick python3

runs=${PERF_RUNS:-5}
out=build/performance
jobs=$(nproc)

echo "== builds"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs" --target rillo_bench

rm -rf "$out"
mkdir -p "$out"
{
    echo "date $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "nproc $(nproc)"
    echo "cpu $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
    echo "wine $(wine --version 2>/dev/null)"
    echo "load_before $(cut -d' ' -f1-3 /proc/loadavg)"
    if [ -n "${PERF_NOTE:-}" ]; then
        echo "note $PERF_NOTE"
    fi
} >"$out/machine.txt"

for run in $(seq "$runs"); do
    echo "== performance run $run of $runs"
    if ! bash e2e/run.sh performance >"$out/run-$run.log" 2>&1; then
        cat "$out/run-$run.log"
        echo "performance: run $run failed" >&2
        exit 1
    fi
    cp build/e2e/performance/driver.txt "$out/run-$run.txt"
done

echo "== benchmarks"
./build/release/bench/rillo_bench --benchmark_min_time=0.05 --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$out/bench.json"

echo "load_after $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"
# The sections of tools/linux_performance.sh and tools/web_performance.sh, the
# last two, stay as they are.
web_section=$(sed -n '/^## Rillo \(on Linux\|in the browser\)$/,$p' docs/performance.md)
python3 tools/performance_report.py "$out" >docs/performance.md
if [ -n "$web_section" ]; then
    printf '\n%s\n' "$web_section" >>docs/performance.md
fi
echo "== wrote docs/performance.md"
