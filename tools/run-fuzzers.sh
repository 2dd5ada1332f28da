#!/usr/bin/env bash
# Runs every fuzz target in a build folder for a bounded time each, starting from its seed
# corpus (fuzz/corpus/NAME, if any) and keeping what it finds in build/fuzz-corpus/NAME.
# Usage: tools/run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=$1 seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
status=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work=$root/build/fuzz-corpus/$name
  mkdir -p "$work"
  seeds=()
  [ -d "$root/fuzz/corpus/$name" ] && seeds+=("$root/fuzz/corpus/$name")
  echo "== $name: ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
       -artifact_prefix="$root/build/fuzz-artifacts-" "$work" "${seeds[@]}" 2>"$work.log"; then
    tail -n 40 "$work.log"
    status=1
  else
    grep -E '^(#[0-9]+.*DONE|Done)' "$work.log" | tail -n 1 || true
  fi
done
exit $status
