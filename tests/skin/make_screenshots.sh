#!/usr/bin/env bash
# Makes the README's pictures of the skin (docs/skin-*.png): runs Tolvane under Wine beside
# the stand-in forum server's demo members, and lets skin_screenshots drive it and copy the
# screen. Uses a Wine prefix of its own in which Wine draws the window frames itself (there is
# no window manager on the virtual display).
# Usage: tests/skin/make_screenshots.sh [WIN64_BUILD]   (default build/win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/win64}
export TOLVANE_WINE_BUILD=$build/screenshots
mkdir -p "$TOLVANE_WINE_BUILD"
cp "$build/app/tolvane.exe" "$build/tests/skin/skin_screenshots.exe" "$TOLVANE_WINE_BUILD/"
bash "$root/tools/with-wine.sh" bash -c '
  set -euo pipefail
  dir=$TOLVANE_WINE_BUILD
  "$TOLVANE_WINE" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
  python3 "$TOLVANE_ROOT/tools/forum_server.py" --demo --port 80 --ready-file "$dir/ready" &
  server=$!
  for _ in $(seq 100); do [ -f "$dir/ready" ] && break; sleep 0.05; done
  (cd "$dir" && "$TOLVANE_WINE" tolvane.exe) &
  program=$!
  status=0
  "$TOLVANE_WINE" "$dir/skin_screenshots.exe" "$(winepath -w "$dir" 2>/dev/null || echo "$dir")" || status=$?
  wait $program || true
  kill $server; rm -f "$dir/ready"
  exit $status
'
# BMP (24-bit, bottom-up) to PNG with the standard library only.
python3 - "$TOLVANE_WINE_BUILD" "$root/docs" <<'PY'
import struct, sys, zlib, pathlib
source, target = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
target.mkdir(exist_ok=True)
for bmp in sorted(source.glob("skin-*.bmp")):
    data = bmp.read_bytes()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = data[offset + y * stride: offset + y * stride + width * 3]
        rgb = bytearray(row)
        rgb[0::3], rgb[2::3] = row[2::3], row[0::3]
        rows.append(b"\0" + bytes(rgb))
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    (target / (bmp.stem + ".png")).write_bytes(png)
    print("docs/" + bmp.stem + ".png", width, "x", height)
PY
