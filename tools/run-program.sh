#!/usr/bin/env bash
# Starts the 64-bit tolvane.exe under Wine (code page 936, the build's own prefix).
#   tools/run-program.sh              the program alone (real DISPLAY if set, else Xvfb)
#   tools/run-program.sh --demo       against the stand-in forum server's sample members
#                                     ("tolvane", "demo", "百度", "noavatar"), inside a network
#                                     namespace whose hosts file points the forum hosts at it
#                                     (root only)
#   tools/run-program.sh --screenshot FILE.png [NAME]
#                                     demo under Xvfb: search NAME (default "tolvane") and save
#                                     the window as it looks on screen
# TOLVANE_BUILD: the build folder root (default build; the program is in $TOLVANE_BUILD/win64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLVANE_BUILD:-$root/build}
exe=$build/win64/app/tolvane.exe
driver=$build/win64/tests/app/e2e_driver.exe
[ -f "$exe" ] || { echo "run-program: $exe is missing: make win64 first" >&2; exit 1; }

mode=${1:-}
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Inside tools/with-wine.sh: the forum server on port 80, then the program (or the screenshot).
demo_inner() {
  local mode=$1 out=${2:-} name=${3:-tolvane}
  if [ -n "${TOLVANE_REAL_DISPLAY:-}" ]; then export DISPLAY=$TOLVANE_REAL_DISPLAY; fi
  local ready
  ready=$(mktemp)
  rm -f "$ready"
  python3 "$TOLVANE_ROOT/tools/forum_server.py" --demo --port 80 --ready-file "$ready" &
  local server=$!
  for _ in $(seq 100); do [ -s "$ready" ] && break; sleep 0.05; done
  local status=0
  if [ "$mode" = screenshot ]; then
    # No window manager on the virtual display: Wine draws the frame and caption itself.
    "$TOLVANE_WINE" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 || true
    local bmp
    bmp=$(mktemp --suffix=.bmp)
    "$TOLVANE_WINE" "$TOLVANE_DRIVER" screenshot "$(windows_path "$TOLVANE_EXE")" "$name" \
      "$(windows_path "$bmp")" || status=$?
    [ $status = 0 ] && python3 "$TOLVANE_ROOT/tools/bmp_to_png.py" "$bmp" "$out" || status=1
    rm -f "$bmp"
  else
    "$TOLVANE_WINE" "$TOLVANE_EXE" || status=$?
  fi
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -f "$ready"
  return $status
}

case "$mode" in
  --demo | --screenshot)
    if [ "$(id -u)" != 0 ]; then
      echo "run-program: the demo needs root for its network namespace" >&2
      exit 1
    fi
    export TOLVANE_WINE_BUILD=$build/win64 TOLVANE_EXE=$exe TOLVANE_DRIVER=$driver
    export -f demo_inner windows_path
    if [ "$mode" = --demo ]; then
      export TOLVANE_REAL_DISPLAY=${DISPLAY:-}
      exec bash "$root/tools/with-wine.sh" bash -c 'demo_inner demo'
    fi
    [ -n "${2:-}" ] || { echo "usage: run-program.sh --screenshot FILE.png [NAME]" >&2; exit 1; }
    [ -f "$driver" ] || { echo "run-program: $driver is missing: make win64 first" >&2; exit 1; }
    out=$(realpath -m "$2")
    exec bash "$root/tools/with-wine.sh" bash -c 'demo_inner screenshot "$1" "$2"' _ "$out" "${3:-tolvane}"
    ;;
  "")
    export WINEPREFIX=$build/win64/wineprefix WINEARCH=win64 WINEDEBUG=-all
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ -n "${DISPLAY:-}" ]; then
      exec /usr/lib/wine/wine64 "$exe"
    fi
    # No display: the program runs on a virtual one (tools/with-wine.sh starts it).
    TOLVANE_WINE_BUILD=$build/win64 TOLVANE_NETNS=1 exec bash "$root/tools/with-wine.sh" \
      /usr/lib/wine/wine64 "$exe"
    ;;
  *)
    echo "usage: run-program.sh [--demo | --screenshot FILE.png [NAME]]" >&2
    exit 1
    ;;
esac
