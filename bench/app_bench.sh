#!/usr/bin/env bash
# The whole program under Wine, next to yardsticks measured in the same run:
#   start-up   process start to window shown: tolvane.exe vs the smallest one-window program
#   search     click on 搜索 to the picture on screen, against the stand-in forum server on
#              loopback, vs the same two requests made by a bare HTTP client (Python)
#   memory     working set after ten searches of a 110 x 110 JPEG vs the smallest program's
# Programs come from $TOLVANE_BUILD/win64 (tests/app/win32.cmake builds them). Needs root (the
# network namespace of tools/with-wine.sh). Prints figures; nothing here is a test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLVANE_BUILD:-$root/build}/win64
for program in app/tolvane.exe tests/app/app_bench.exe tests/app/startup_minimal_window.exe; do
  [ -f "$build/$program" ] || { echo "app_bench: $build/$program is missing (make win64)"; exit 1; }
done
if [ "$(id -u)" != 0 ]; then echo "app_bench: needs root for the network namespace"; exit 0; fi

export TOLVANE_WINE_BUILD=$build APP_BENCH_BUILD=$build
bash "$root/tools/with-wine.sh" bash -c '
  set -euo pipefail
  build=$APP_BENCH_BUILD
  win() { printf "Z:%s" "${1//\//\\}"; }
  bench="$TOLVANE_WINE $build/tests/app/app_bench.exe"
  tolvane=$(win "$build/app/tolvane.exe")
  minimal=$(win "$build/tests/app/startup_minimal_window.exe")
  work=$(mktemp -d /tmp/tolvane-bench.XXXXXX)
  trap "kill \$server 2>/dev/null || true; rm -rf $work" EXIT
  $bench prepare "$(win "$work/root")"
  python3 "$TOLVANE_ROOT/tools/forum_server.py" --root "$work/root" --port 80 --ready-file "$work/ready" &
  server=$!
  for _ in $(seq 100); do [ -s "$work/ready" ] && break; sleep 0.05; done

  $bench startup "$minimal" Minimal 2 >/dev/null  # warm the file cache
  program_ms=$($bench startup "$tolvane" Tolvane 9)
  minimal_ms=$($bench startup "$minimal" Minimal 9)
  echo "start-up, median of 9: tolvane.exe ${program_ms} ms, one-window program ${minimal_ms} ms," \
       "ratio $(python3 -c "print(round($program_ms / $minimal_ms, 2))") (goal <= 1.3)"

  search_ms=$($bench search "$tolvane" 20)
  client_ms=$(python3 - <<PY
import http.client, statistics, time
times = []
for i in range(20):
    name = "red" if i % 2 == 0 else "blue"
    start = time.perf_counter()
    for host, path in (("tieba.baidu.com", "/home/main?un=" + name), ("tb.himg.baidu.com", "/avatars/%s.jpg" % name)):
        c = http.client.HTTPConnection("127.0.0.1", 80)
        c.request("GET", path, headers={"Host": host, "Accept": "*/*"})
        c.getresponse().read()
        c.close()
    times.append((time.perf_counter() - start) * 1000)
print(round(statistics.median(times), 1))
PY
)
  echo "search end to end, median of 20: tolvane.exe ${search_ms} ms (click to picture on screen)," \
       "bare HTTP client ${client_ms} ms for the same two requests," \
       "ratio $(python3 -c "print(round($search_ms / $client_ms, 1))")"

  sets=$($bench memory "$tolvane" 10)
  minimal_mib=$($bench idle-memory "$minimal" Minimal)
  last=${sets##* }
  echo "working set (MiB) at start then after each of 10 searches: $sets"
  echo "memory: tolvane.exe ${last} MiB after 10 searches, one-window program ${minimal_mib} MiB," \
       "ratio $(python3 -c "print(round($last / $minimal_mib, 2))") (goal <= 1.3)"
'
