#!/usr/bin/env bash
# The player and the pack tool import nothing but system DLLs that every Windows
# since Windows 7 carries: no DLL of the toolchain (libstdc++, libgcc,
# libwinpthread) and no C runtime that Windows 7 lacks (the UCRT's api-ms-win-crt-*).
# DEVINETTE_WINDOWS_BUILD names the build folder (default build/windows).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DEVINETTE_WINDOWS_BUILD:-$root/build/windows}
objdump=x86_64-w64-mingw32-objdump

# System DLLs present in Windows 7 and every later Windows.
windows7_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
  oleaut32.dll shell32.dll shlwapi.dll user32.dll version.dll winmm.dll "

fail() { echo "FAILED: $*"; exit 1; }
for exe in "$build/app/devinette.exe" "$build/authoring/devinette-pack.exe"; do
  [ -f "$exe" ] || fail "$exe is not built"
  dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  grep -qx kernel32.dll <<<"$dlls" || fail "$(basename "$exe"): no import table read (objdump -p)"
  for dll in $dlls; do
    [[ "$windows7_dlls" == *" $dll"[[:space:]]* ]] || fail "$(basename "$exe") imports $dll, not a Windows 7 system DLL"
  done
  echo "$(basename "$exe"): imports only" $dlls
done
