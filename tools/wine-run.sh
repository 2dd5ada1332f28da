#!/usr/bin/env bash
# The cross-compiling emulator of the Windows builds: runs one Windows program under wine64.
# Meant to run inside tools/with-wine.sh, which prepares the prefix, display and wineserver.
if [ -z "${TOLVANE_WINE:-}" ]; then
  echo "wine-run.sh: run under tools/with-wine.sh" >&2
  exit 2
fi
exec "$TOLVANE_WINE" "$@"
