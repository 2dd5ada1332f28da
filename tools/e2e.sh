#!/usr/bin/env bash
# The whole program end to end: the stand-in forum server on port 80 of the tests' network
# namespace, the real tolvane.exe under Wine, worked by tools/e2e_driver.cpp.
# Run inside tools/with-wine.sh (ctest does so in `make test-wine`).
# Usage: tools/e2e.sh DRIVER_EXE TOLVANE_EXE
set -uo pipefail
driver=$1
program=$2
root_dir=$(cd "$(dirname "$0")/.." && pwd)
if [ "${TOLVANE_NETNS:-}" != 1 ] || [ -z "${TOLVANE_WINE:-}" ]; then
  echo "e2e: needs tools/with-wine.sh as root (its network namespace plays the forum hosts)"
  exit 77
fi
work=$(mktemp -d /tmp/tolvane-e2e.XXXXXX)
server_pid=
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

mkdir -p "$work/root" "$work/saved"
"$TOLVANE_WINE" "$driver" prepare "$(windows_path "$work/root")" || { echo "e2e: prepare failed"; exit 1; }
python3 "$root_dir/tools/forum_server.py" --root "$work/root" --port 80 \
  --ready-file "$work/ready" --record "$work/requests.jsonl" &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/ready" ] && break; sleep 0.05; done
[ -s "$work/ready" ] || { echo "e2e: the forum server did not start"; exit 1; }

"$TOLVANE_WINE" "$driver" run "$(windows_path "$work/root")" "$(windows_path "$program")" \
  "$(windows_path "$work/saved")"
status=$?
echo "e2e: $(wc -l < "$work/requests.jsonl") request(s) served"
exit $status
