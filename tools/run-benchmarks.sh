#!/usr/bin/env bash
# Runs every benchmark: each native Google Benchmark program built into BUILD/bench/bench/
# (BUILD defaults to build), then each bench/*.sh script, given TOLVANE_BUILD=BUILD (the
# Windows programs are in $TOLVANE_BUILD/win64) (the ones that need Wine or a server
# run themselves under tools/with-wine.sh). Results go to stdout; nothing here is a test.
# Usage: tools/run-benchmarks.sh [BUILD]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
status=0
shopt -s nullglob
for program in "$build"/bench/bench/bench_*; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program" --benchmark_counters_tabular=true || status=1
done
for script in "$root"/bench/*.sh; do
  echo "== $(basename "$script")"
  TOLVANE_BUILD=$build bash "$script" || status=1
done
exit $status
