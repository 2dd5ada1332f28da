#!/usr/bin/env bash
# The picture box under Wine: SetPicture and paint times, and an animation's processor time.
# Needs the Windows build ($TOLVANE_BUILD/win64, made by `make bench`).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLVANE_BUILD:-$root/build}
program=$build/win64/tests/picture/bench_picture_box.exe
if [ ! -f "$program" ]; then
  echo "picture_box.sh: $program not built (make win64)" >&2
  exit 1
fi
TOLVANE_WINE_BUILD=$build/win64 bash "$root/tools/with-wine.sh" bash -c '"$TOLVANE_WINE" "$1"' _ "$program"
