#!/usr/bin/env bash
# Push-button painting with and without the control skin, in one run under Wine.
# Needs the Windows build ($TOLVANE_BUILD/win64, made by `make bench`).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLVANE_BUILD:-$root/build}
program=$build/win64/tests/skin/skin_paint_bench.exe
if [ ! -f "$program" ]; then
  echo "skin_paint.sh: $program not built (make win64)" >&2
  exit 1
fi
TOLVANE_WINE_BUILD=$build/win64 bash "$root/tools/with-wine.sh" bash -c '"$TOLVANE_WINE" "$1"' _ "$program"
