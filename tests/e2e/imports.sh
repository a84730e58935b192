#!/usr/bin/env bash
# The player and the pack tool import nothing but system DLLs that every Windows
# since Windows 7 carries: no DLL of the toolchain (libstdc++, libgcc,
# libwinpthread) and no C runtime that Windows 7 lacks (the UCRT's api-ms-win-crt-*).
# The player's manifest, as built into it: runs as the user who starts it,
# declares Windows 7, 8, 8.1 and 10/11, stays DPI-unaware with GDI scaling, and
# depends on no common-controls assembly (classic controls).
# DEVINETTE_WINDOWS_BUILD names the build folder (default build/windows).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DEVINETTE_WINDOWS_BUILD:-$root/build/windows}
objdump=x86_64-w64-mingw32-objdump

# System DLLs present in Windows 7 and every later Windows.
windows7_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
  oleaut32.dll shell32.dll shlwapi.dll user32.dll version.dll winmm.dll "

fail() { echo "FAILED: $*"; exit 1; }
for exe in "$build/bin/devinette.exe" "$build/bin/devinette-pack.exe"; do
  [ -f "$exe" ] || fail "$exe is not built"
  dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  grep -qx kernel32.dll <<<"$dlls" || fail "$(basename "$exe"): no import table read (objdump -p)"
  for dll in $dlls; do
    [[ "$windows7_dlls" == *" $dll"[[:space:]]* ]] || fail "$(basename "$exe") imports $dll, not a Windows 7 system DLL"
  done
  echo "$(basename "$exe"): imports only" $dlls
done

player="$build/bin/devinette.exe"
manifest=$(grep -ao '<assembly .*</assembly>' <(tr -d '\r\n' <"$player")) || fail "no manifest in the player"
for setting in 'level="asInvoker"' '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}' '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}' \
    '{1f676c76-80e1-4239-95bb-83d0f6d0da78}' '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' \
    'WindowsSettings">false</dpiAware>' '2017/WindowsSettings">true</gdiScaling>'; do
  grep -qF "$setting" <<<"$manifest" || fail "the player's manifest lacks $setting"
done
[ "$(grep -o '<supportedOS ' <<<"$manifest" | wc -l)" -eq 4 ] || fail "the manifest declares other than four systems"
! grep -q '<dependency' <<<"$manifest" || fail "the manifest depends on another assembly"
echo "devinette.exe: manifest asInvoker, Windows 7 to 11, DPI-unaware with GDI scaling, no dependency"
