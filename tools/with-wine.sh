#!/usr/bin/env bash
# Runs a command with Wine ready for the project's programs:
#   - a prefix of its own under the build folder, ANSI code page 936 (zh_CN.UTF-8), quiet;
#   - a virtual X display (Xvfb, 1024 x 768) and one persistent wineserver for the whole run;
#   - as root, a network namespace of its own with loopback up, whose hosts file maps the forum
#     and picture hosts to 127.0.0.1 and whose trust store holds only the test CA, so that the
#     stand-in forum server (tools/forum_server.py) can play those hosts on ports 80 and 443.
# Inside, TOLVANE_NETNS=1 says the namespace is there; TOLVANE_TEST_CA holds the CA's folder.
# Usage: tools/with-wine.sh COMMAND [ARG...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLVANE_WINE_BUILD:-$root/build/win64}
mkdir -p "$build"

export WINEPREFIX=$build/wineprefix WINEARCH=win64 WINEDEBUG=-all
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export TOLVANE_WINE=/usr/lib/wine/wine64
export TOLVANE_ROOT=$root
# The hosts the stand-in forum server plays.
export TOLVANE_FORUM_HOSTS="tieba.baidu.com tb.himg.baidu.com pictures.tolvane.test"

ca_dir=$build/test-ca
if [ ! -f "$ca_dir/ca.crt" ]; then
  bash "$root/tools/make-test-ca.sh" "$ca_dir" $TOLVANE_FORUM_HOSTS localhost >/dev/null
fi
export TOLVANE_TEST_CA=$ca_dir

inner() {
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  local xvfb=$!
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.05; done
  export DISPLAY=:$(cat "$display_file")
  rm -f "$display_file"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$TOLVANE_WINE" wineboot --init >/dev/null 2>&1 || true
  fi
  wineserver -p
  # Wine's background processes (services, and the desktop process that the first window
  # starts) keep the standard handles of the program that started them open; start them here
  # with none, so that no test's output pipe stays open after the test has ended.
  "$TOLVANE_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
  "$TOLVANE_WINE" explorer.exe /desktop </dev/null >/dev/null 2>&1 &
  set +e
  "$@"
  local status=$?
  set -e
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  return $status
}

if [ "$(id -u)" = 0 ] && [ "${TOLVANE_NETNS:-}" != 1 ] && command -v ip >/dev/null; then
  ns=tolvane-$$
  cleanup() { ip netns del "$ns" 2>/dev/null || true; rm -rf "/etc/netns/$ns"; }
  trap cleanup EXIT
  ip netns add "$ns"
  ip -n "$ns" link set lo up
  mkdir -p "/etc/netns/$ns/ssl/certs"
  {
    echo "127.0.0.1 localhost"
    for host in $TOLVANE_FORUM_HOSTS; do echo "127.0.0.1 $host"; done
  } > "/etc/netns/$ns/hosts"
  cp "$ca_dir/ca.crt" "/etc/netns/$ns/ssl/certs/ca-certificates.crt"
  export TOLVANE_NETNS=1
  export -f inner
  ip netns exec "$ns" bash -c 'inner "$@"' inner "$@"
else
  inner "$@"
fi
