#!/usr/bin/env bash
# The download as a quiz maker gets it (dist/, which scripts/package wrote):
# unzipped into a folder whose names have spaces and accents, every file is
# there, the pack tool builds the five examples with the player beside it, a
# built quiz starts, and the Atelier builds the same bytes from there. The
# notices name every library compiled in, and the package refuses a library
# whose notice is gone.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/e2e/window_checks.bash"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

zips=("$root"/dist/devinette-*-windows-x64.zip)
[ -f "${zips[0]}" ] || fail "no package in dist/ (scripts/package writes it)"
(cd "$root/dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the zip"
place="$work/Clé USB/Mes quiz à l'école"
mkdir -p "$place"
unzip -q "${zips[0]}" -d "$place"
top=$(echo "$place"/devinette-*)
examples="capitales drapeaux pays-capitales animaux formes"
for file in devinette.exe devinette-pack.exe devinette-atelier.exe LISEZMOI.html THIRD-PARTY-NOTICES.txt; do
  [ -f "$top/$file" ] || fail "the package has no $file"
done
for notice in toml++ stb xxHash mingw-w64 "GCC runtime"; do
  grep -qi "^$notice" "$top/THIRD-PARTY-NOTICES.txt" || fail "THIRD-PARTY-NOTICES.txt names no $notice"
done
[ "$(grep -c 'src="data:image/png;base64,' "$top/LISEZMOI.html")" = 2 ] || fail "LISEZMOI.html lacks its two screenshots"

# Every example builds with the tools as unzipped, the player found beside them.
cd "$top"
for example in $examples; do
  wine ./devinette-pack.exe build "exemples\\$example\\quiz.toml" >"$work/$example.log" 2>&1 ||
    { cat "$work/$example.log"; fail "the packed tool did not build $example"; }
  [ -f "exemples/$example/$example.exe" ] || fail "no exemples/$example/$example.exe"
done
# A quiz built there starts.
(cd exemples/capitales && exec wine capitales.exe >/dev/null 2>&1) &
[ -n "$("$root/scripts/wait-for-window" "^Capitales d'Europe\$" 60)" ] || fail "the built quiz did not start"
wine "$root/build/windows/tests/window_probe.exe" "Capitales d'Europe" close >/dev/null 2>&1
wait

# The Atelier, started from the same folder, builds the same bytes (Ctrl+B).
mv exemples/capitales/capitales.exe "$work/by-pack-tool.exe"
wine ./devinette-atelier.exe "exemples\\capitales\\quiz.toml" >/dev/null 2>&1 &
window=$("$root/scripts/wait-for-window" "^quiz.toml - Atelier Devinette\$" 60)
[ -n "$window" ] || fail "the Atelier did not start from the unzipped folder"
sleep 1
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key --clearmodifiers ctrl+b
for _ in $(seq 1 60); do [ -f exemples/capitales/capitales.exe ] && break; sleep 0.5; done
sleep 1
cmp exemples/capitales/capitales.exe "$work/by-pack-tool.exe" || fail "the Atelier's build differs from the pack tool's"
wine "$root/build/windows/tests/window_probe.exe" DevinetteAtelier close >/dev/null 2>&1
wait

# A library compiled in without its notice stops the package.
mkdir "$work/notices"
cp "$root/packaging/notices/"*.txt "$work/notices/"
rm "$work/notices/xxhash.txt"
if "$root/scripts/package" --notices "$work/notices" --out "$work/dist" >"$work/package.log" 2>&1; then
  fail "the package was made without xxHash's notice"
fi
grep -q "no notice for xxhash" "$work/package.log" || { cat "$work/package.log"; fail "the refusal does not name xxhash"; }
echo "unzipped, complete, every example built, a quiz started, the Atelier's build the same, a missing notice refused"
