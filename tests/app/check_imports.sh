#!/usr/bin/env bash
# tolvane.exe must run from its own file alone: every DLL it imports is one of Windows' own.
# Usage: check_imports.sh OBJDUMP EXE
set -euo pipefail
objdump=$1 exe=$2
allowed="kernel32.dll user32.dll gdi32.dll msimg32.dll ole32.dll wininet.dll msvcrt.dll
comdlg32.dll advapi32.dll shell32.dll comctl32.dll"
status=0
while read -r dll; do
  lower=$(tr '[:upper:]' '[:lower:]' <<<"$dll")
  if grep -qw -- "$lower" <<<"$allowed"; then
    echo "ok   $dll"
  else
    echo "FAIL $dll is not a system DLL"
    status=1
  fi
done < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
exit $status
