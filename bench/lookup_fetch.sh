#!/usr/bin/env bash
# FetchUrl of a 50 MB body from the stand-in forum server on loopback, under Wine, next to curl
# fetching the same body from the same server in the same run; and the fetching process's peak
# memory next to the body size. Goals: time within 1.5x of curl, peak under 2.5x the body.
# Runs itself under tools/with-wine.sh (network namespace, port 80) when not already inside.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLVANE_BUILD:-$root/build}
program=$build/win64/tests/lookup/bench_fetch_url.exe
if [ ! -f "$program" ]; then
  echo "skipped: $program is not built (make win64)"
  exit 0
fi
if [ "${TOLVANE_NETNS:-}" != 1 ]; then
  TOLVANE_WINE_BUILD=$build/win64 exec bash "$root/tools/with-wine.sh" bash "$0" "$@"
fi
size=$((50 * 1024 * 1024))
repeats=3
work=$(mktemp -d)
python3 "$root/tools/forum_server.py" --root "$work" --port 80 --ready-file "$work/ready" &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 200); do [ -f "$work/ready" ] && break; sleep 0.05; done
measure() {  # NAME PATH
  local address=http://tieba.baidu.com$2 best_curl= best_fetch output seconds
  echo "$1, curl:"
  for i in $(seq $repeats); do
    seconds=$(curl -s -o /dev/null -w '%{time_total}' "$address")
    echo "  fetch $i: $seconds s"
    best_curl=$(python3 -c "print(min(float('$seconds'), float('${best_curl:-1e30}')))")
  done
  echo "$1, bare WinINet reads under Wine (nothing kept):"
  "$TOLVANE_WINE" "$program" --bare "$address" "$size" "$repeats" | sed 's/^/  /'
  echo "$1, FetchUrl under Wine:"
  output=$("$TOLVANE_WINE" "$program" "$address" "$size" "$repeats")
  echo "$output" | sed 's/^/  /'
  best_fetch=$(echo "$output" | sed -n 's/^best fetch: \([0-9.]*\) s.*/\1/p')
  python3 -c "print('$1: FetchUrl / curl (best of $repeats): %.2f (%.3f s vs %.3f s)' % ($best_fetch / $best_curl, $best_fetch, $best_curl))"
}
measure "$size bytes with Content-Length" /test/big/$size
# Without Content-Length the fetch reads 10240 bytes at a time and joins its blocks at the end.
measure "$size bytes without Content-Length" /test/big-no-length/$size
