#!/usr/bin/env bash
# Adds up the ctest summaries of the given logs into one closing line: "N passed, N failed".
# Usage: tools/test-summary.sh LOG...
set -euo pipefail
passed=0 failed=0
for log in "$@"; do
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1) || {
    echo "test-summary: no ctest summary in $log" >&2
    exit 1
  }
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  failing=$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - failing))
  failed=$((failed + failing))
done
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
