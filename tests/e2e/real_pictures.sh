#!/usr/bin/env bash
# End to end: pictures as quiz makers have them, in a folder whose name, source
# and picture names carry accents and spaces. A phone photograph stored sideways,
# JPEG (progressive, CMYK, grey), PNG with transparency, GIF and BMP are packed
# by relative and by full path; checks what is stored (fitted sizes, closeness
# to ImageMagick's resize of real photographs, the quiz colour under transparent
# pixels, byte-for-byte storing), build -> unpack -> build, the cache of converted
# pictures (in the folder DEVINETTE_CACHE names, else in the user's local
# application data), and that the phone photograph stands upright in the
# player's window. Runs inside an X server.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
photos=/usr/share/backgrounds/mate/nature  # real photographs, from Debian's mate-backgrounds

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }
pack() { "$root/scripts/devinette-pack" "$@"; }
[ -f "$photos/LadyBird.jpg" ] || fail "the photographs of mate-backgrounds are missing"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
quiz="$work/Été à Paris"
mkdir -p "$quiz/images"
cd "$quiz/images"
# As the phone showed it: portrait, a magenta band along its top. Stored as phones
# store it: turned a quarter anticlockwise, with EXIF orientation 6.
convert "$photos/LadyBird.jpg" -resize '3024x4032!' -fill magenta -draw 'rectangle 0,0 3023,400' \
  -rotate -90 -quality 92 sideways.jpg
{ head -c 2 sideways.jpg
  printf '\xff\xe1\x00\x22Exif\x00\x00MM\x00\x2a\x00\x00\x00\x08\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00\x00\x00\x00\x00'
  tail -c +3 sideways.jpg; } >"Château de nuit.jpg"
rm sideways.jpg
convert "$photos/Dune.jpg" -resize 1200x800 -interlace JPEG "Dune progressive.jpg"
convert "$photos/Storm.jpg" -colorspace CMYK "Orage cmjn.jpg"
convert "$photos/Wood.jpg" -colorspace Gray "Bois gris.jpg"
convert -size 200x100 xc:none -fill yellow -draw 'circle 100,50 100,10' "Logo transparent.png"
convert "$photos/GreenMeadow.jpg" -resize 500x400 "Prairie.gif"
convert "$photos/YellowFlower.jpg" -resize 640x400 BMP3:"Fleur.bmp"
convert "$photos/Aqua.jpg" -resize 300x200 -strip -interlace none "Petite.jpg"

pictures=("Château de nuit.jpg" "Dune progressive.jpg" "Orage cmjn.jpg" "Bois gris.jpg" "Logo transparent.png"
          "Prairie.gif" "Fleur.bmp" "Petite.jpg")
sizes=(258x345 360x225 360x240 360x270 200x100 360x288 360x225 300x188)
{ echo 'kind = "picture"'; echo 'title = "Été à Paris"'; echo 'colour = "#C03020"'
  for i in "${!pictures[@]}"; do printf '\n[[question]]\nanswer = "R%d"\npicture = "images/%s"\n' $((i + 1)) "${pictures[$i]}"; done
} >"$quiz/quiz.toml"

cd "$work"
export DEVINETTE_CACHE="$work/cache"
pack build "Été à Paris/quiz.toml" -o "Été à Paris/Visite guidée.exe" >build.out || { cat build.out; fail "relative build"; }
[ "$(ls "$work/cache" | wc -l)" -eq 8 ] || fail "the cache holds $(ls "$work/cache" | wc -l) entries, not one per picture"
grep -qF "[1/8] images/Château de nuit.jpg: 3024 x 4032," build.out || { cat build.out; fail "progress line of the photograph"; }
grep -qF -- "-> 258 x 345," build.out || { cat build.out; fail "report of the photograph's stored size"; }
tail -n 1 build.out | grep -qE '^Été à Paris/Visite guidée.exe: 8 questions packed, [0-9]+ KB$' || { cat build.out; fail "last line"; }
pack build "$quiz/quiz.toml" -o "$work/full path.exe" >/dev/null || fail "build by full path"
cmp -s "$quiz/Visite guidée.exe" "$work/full path.exe" || fail "relative and full paths packed differently"
pass "accented folder, source and picture names, by relative and full path (the second from the cache)"

pack unpack "$quiz/Visite guidée.exe" -o "$work/déballé" >/dev/null || fail "unpack"
for i in "${!pictures[@]}"; do
  stored="$work/déballé/images/q$((i + 1)).jpg"
  got=$(identify -format '%wx%h %m' "$stored")
  [ "$got" = "${sizes[$i]} JPEG" ] || fail "${pictures[$i]}: stored $got, expected ${sizes[$i]} JPEG"
done
pass "every format stored as JPEG at the size the player shows"

for i in 0 1 2 3 5 6; do
  size=${sizes[$i]}
  convert "$quiz/images/${pictures[$i]}" -auto-orient -resize "$size!" "$work/reference.png"
  psnr=$(compare -metric PSNR "$work/déballé/images/q$((i + 1)).jpg" "$work/reference.png" null: 2>&1 || true)
  awk -v p="$psnr" 'BEGIN { exit !(p + 0 >= 30) }' || fail "${pictures[$i]}: PSNR $psnr dB against ImageMagick, under 30"
  echo "  ${pictures[$i]}: $psnr dB"
done
pass "real photographs within 30 dB of ImageMagick's resize"

corner=$(convert "$work/déballé/images/q5.jpg" -format '%[fx:int(255*p{2,2}.r)] %[fx:int(255*p{2,2}.g)] %[fx:int(255*p{2,2}.b)]' info:)
read -r r g b <<<"$corner"
[ $((r > 0xC0 - 12 && r < 0xC0 + 12 && g > 0x30 - 12 && g < 0x30 + 12 && b > 0x20 - 12 && b < 0x20 + 12)) -eq 1 ] ||
  fail "transparent corner of the logo is $corner, not the quiz colour C0 30 20"
cmp -s "$quiz/images/Petite.jpg" "$work/déballé/images/q8.jpg" || fail "a small baseline JPEG was not stored byte for byte"
pass "transparency on the quiz colour; a fitting baseline JPEG stored as it is"

. "$root/scripts/wine-env"
unset DEVINETTE_CACHE
default_cache=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Local)/Devinette/cache
rm -rf "$default_cache"
pack build "$work/déballé/quiz.toml" -o "$work/again.exe" >/dev/null || fail "build of the unpacked quiz"
[ "$(ls "$default_cache" | wc -l)" -eq 8 ] || fail "the default cache $default_cache holds no entry per picture"
cmp -s "$quiz/Visite guidée.exe" "$work/again.exe" || fail "build -> unpack -> build changed the executable"
pass "build -> unpack -> build gives the same executable"

# On screen: the magenta band of the photograph runs along its top, not down a side.
cd "$quiz"
wine "./Visite guidée.exe" >/dev/null 2>&1 &
player=$!
window=$("$root/scripts/wait-for-window" 'Paris$' 60)
[ -n "$window" ] || fail "the quiz window did not appear"
sleep 2
import -window root "$work/screen.png"
xdotool key --window "$window" --clearmodifiers alt+F4 2>/dev/null || true
for _ in $(seq 1 40); do kill -0 $player 2>/dev/null || break; sleep 0.5; done
kill $player 2>/dev/null || true
band=$(convert "$work/screen.png" -fuzz 12% -fill black +opaque magenta -fill white -opaque magenta -format "%@" info:)
width=${band%%x*}; rest=${band#*x}; height=${rest%%+*}
[ "$width" -ge 200 ] && [ "$height" -le 60 ] || fail "the photograph's top band on screen is $band: not upright"
pass "the phone photograph stands upright in the player ($band)"
