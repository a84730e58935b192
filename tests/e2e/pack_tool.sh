#!/usr/bin/env bash
# End to end: devinette-pack under Wine (through scripts/devinette-pack, in the
# test run's display: a Wine tool started without one while the run's wineserver
# has no desktop yet would leave every later player without a display), on quizzes of every kind made here with their own pictures, sounds
# and videos. Checks that show prints the source's texts, that build, unpack,
# build gives the same executable, that bad input exits 1 and leaves no output
# and no temporary file, that a Wine that cannot start says why, that usage
# errors exit 2 and that the template never changes. DEVINETTE_WINDOWS_BUILD names the build folder (default build/windows).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export DEVINETTE_WINDOWS_BUILD=${DEVINETTE_WINDOWS_BUILD:-$root/build/windows}
template="$DEVINETTE_WINDOWS_BUILD/bin/devinette.exe"

. "$root/tests/e2e/pack_checks.bash"
pack() { "$root/scripts/devinette-pack" "$@"; }

[ -f "$DEVINETTE_WINDOWS_BUILD/bin/devinette-pack.exe" ] ||
  fail "devinette-pack.exe is not built in $DEVINETTE_WINDOWS_BUILD/bin"
[ -f "$template" ] || fail "the default template $template is missing"
for tool in convert ffmpeg sha256sum cmp cc; do
  command -v "$tool" >/dev/null || fail "$tool is needed"
done
template_sum=$(sha256sum <"$template")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# ---------------------------------------------------------------- sources
picture() { convert -size "$2" "xc:$3" -strip -interlace none -quality 85 "$1"; }

mkdir -p peintres/images chansons/media films/media
picture peintres/images/q1.jpg 40x30 '#0055A4'
picture peintres/images/q2.jpg 30x40 '#EF4135'
picture peintres/images/r1.jpg 30x40 '#F4D35E'
ffmpeg -hide_banner -loglevel error -f lavfi -i sine=frequency=440:duration=0.3 -ac 1 -ar 22050 \
  -c:a libmp3lame chansons/media/brel.mp3
ffmpeg -hide_banner -loglevel error -f lavfi -i sine=frequency=660:duration=0.3 -ac 1 -ar 22050 \
  -c:a libmp3lame chansons/media/piaf.mp3
ffmpeg -hide_banner -loglevel error -f lavfi -i color=c=red:s=32x24:d=0.4:r=5 -c:v mjpeg films/media/q1.avi

cat >peintres/quiz.toml <<'EOF'
# Deux cases par question.
kind = "picture"
title = "Les grands peintres"
creator = "Camille Lefèvre"
explanations = "Trouvez le peintre et le tableau : « œuvre » à 100 €."
answer_labels = ["Peintre", "Tableau"]
reveal = "text+picture"
colour = "#5A5F96"
codes = ["PINCEAU", "TOILE"]

[[question]]
answers = ["Monet", "Impression, soleil levant"]
text = "Qui a peint ce tableau ?"
picture = "images/q1.jpg"
answer_picture = "images/r1.jpg"
reveal_text = "Claude Monet, 1872"

[[question]]
answers = ["Géricault", "Le Radeau de la Méduse"]
text = "Et celui-ci, d'après \"le Salon\" ?"
picture = "images/q2.jpg"
reveal_text = "Théodore Géricault, 1819"
EOF

cat >chansons/quiz.toml <<'EOF'
kind = "sound"
title = "Chansons françaises"
creator = "Zoé"
explanations = "Écoutez et nommez l'interprète."
reveal = "text"
colour = "#2E7D5B"
codes = ["DO", "RÉ"]

[[question]]
answer = "Brel"
text = "Qui chante ?"
media = "media/brel.mp3"
reveal_text = "Jacques Brel, Amsterdam"

[[question]]
answer = "Piaf"
media = "media/piaf.mp3"
EOF

cat >films/quiz.toml <<'EOF'
kind = "video"
title = "Cinéma"
explanations = "Quel film ?"
colour = "#000000"

[[question]]
answer = "Playtime"
media = "media/q1.avi"
EOF

cp "$root/examples/capitales/quiz.toml" capitales.toml

# ---------------------------------------------------------------- build, show, unpack, build
for quiz in peintres chansons films capitales; do
  source=$quiz/quiz.toml
  [ "$quiz" = capitales ] && source=capitales.toml
  mkdir -p "out-$quiz"
  expect_exit 0 "build $quiz" build "$source" -o "out-$quiz/first.exe"
  [ -s "out-$quiz/first.exe" ] || fail "build $quiz wrote no executable"
  expect_exit 0 "show $quiz" show "out-$quiz/first.exe"
  cp last.out "out-$quiz/shown.toml"
  expect_exit 0 "unpack $quiz" unpack "out-$quiz/first.exe" -o "unpacked-$quiz"
  cmp -s "out-$quiz/shown.toml" "unpacked-$quiz/quiz.toml" || fail "show and unpack of $quiz differ"
  expect_exit 0 "build of unpacked $quiz" build "unpacked-$quiz/quiz.toml" -o "out-$quiz/second.exe"
  cmp -s "out-$quiz/first.exe" "out-$quiz/second.exe" ||
    fail "$quiz: build, unpack, build does not give the same executable"
  expect_exit 0 "show of rebuilt $quiz" show "out-$quiz/second.exe"
  cmp -s last.out "out-$quiz/shown.toml" || fail "$quiz: the rebuilt quiz shows differently"
  pass "$quiz: build, show, unpack, build give identical executables"
done

# show prints the source's texts, accented ones too, in UTF-8.
shown=out-peintres/shown.toml
for line in 'kind = "picture"' 'title = "Les grands peintres"' 'creator = "Camille Lefèvre"' \
    'explanations = "Trouvez le peintre et le tableau : « œuvre » à 100 €."' \
    'answer_labels = ["Peintre", "Tableau"]' 'reveal = "text+picture"' 'colour = "#5A5F96"' \
    'codes = ["PINCEAU", "TOILE"]' 'answers = ["Géricault", "Le Radeau de la Méduse"]' \
    'text = "Et celui-ci, d'"'"'après \"le Salon\" ?"' 'reveal_text = "Théodore Géricault, 1819"' \
    'picture = "images/q1.jpg"' 'answer_picture = "images/r1.jpg"' 'picture = "images/q2.jpg"'; do
  grep -qxF "$line" "$shown" || fail "show does not print: $line"
done
[ "$(grep -c '^\[\[question\]\]$' "$shown")" -eq 2 ] || fail "show does not print two questions"
grep -q 'images/r2.jpg' "$shown" && fail "show names an answer picture that question 2 does not have"
for line in 'title = "Chansons françaises"' 'codes = ["DO", "RÉ"]' 'media = "media/q1.mp3"' 'media = "media/q2.mp3"' \
    'reveal_text = "Jacques Brel, Amsterdam"'; do
  grep -qxF "$line" out-chansons/shown.toml || fail "show of the sound quiz does not print: $line"
done
grep -qxF 'media = "media/q1.avi"' out-films/shown.toml || fail "show of the video quiz does not name media/q1.avi"
grep -qxF 'reveal_text = "Rome, la Ville éternelle"' out-capitales/shown.toml ||
  fail "show of the text quiz does not print its reveal texts"
pass "show prints the texts of every kind, in UTF-8"

# unpack gives back the very files that were packed.
cmp -s peintres/images/q1.jpg unpacked-peintres/images/q1.jpg || fail "unpacked q1.jpg differs"
cmp -s peintres/images/r1.jpg unpacked-peintres/images/r1.jpg || fail "unpacked r1.jpg differs"
cmp -s peintres/images/q2.jpg unpacked-peintres/images/q2.jpg || fail "unpacked q2.jpg differs"
[ ! -e unpacked-peintres/images/r2.jpg ] || fail "unpack wrote an answer picture that was not packed"
cmp -s chansons/media/brel.mp3 unpacked-chansons/media/q1.mp3 || fail "unpacked q1.mp3 differs"
cmp -s chansons/media/piaf.mp3 unpacked-chansons/media/q2.mp3 || fail "unpacked q2.mp3 differs"
cmp -s films/media/q1.avi unpacked-films/media/q1.avi || fail "unpacked q1.avi differs"
[ ! -e unpacked-capitales/images ] && [ ! -e unpacked-capitales/media ] || fail "a text quiz unpacked files"
pass "unpack writes the packed pictures and media byte for byte"

# Absolute paths reach the tool on drive Z:, and come back as Linux paths.
expect_exit 0 "build with absolute paths" build "$work/films/quiz.toml" -o "$work/out-films/absolute.exe"
cmp -s out-films/first.exe out-films/absolute.exe || fail "absolute paths give another executable"
grep -q "^$work/out-films/absolute.exe: 1 questions packed, " last.out || { cat last.out; fail "the output is not named by its Linux path"; }
pass "absolute and relative paths give the same executable, named as typed"

# A quiz with its own icon, from a picture.
mkdir logo
convert -size 40x20 xc:red logo/logo.png
printf 'kind = "text"\nicon = "logo.png"\n[[question]]\nanswer = "a"\n' >logo/quiz.toml
expect_exit 0 "build with its own icon" build logo/quiz.toml -o logo/quiz.exe
expect_exit 0 "unpack with its own icon" unpack logo/quiz.exe -o logo/unpacked
grep -qx 'icon = "icon.ico"' logo/unpacked/quiz.toml || fail "unpack names no icon"
expect_exit 0 "build of unpacked with its own icon" build logo/unpacked/quiz.toml -o logo/again.exe
cmp -s logo/quiz.exe logo/again.exe || fail "the icon did not come back whole"
[ "$(ls logo/unpacked)" = "$(printf 'icon.ico\nquiz.toml')" ] || fail "unpack made more than the icon and the source"
pass "a quiz's own icon: build -> unpack -> build gives the same executable"

# ---------------------------------------------------------------- bad input: exit 1, nothing written
mkdir -p bad/images bad/media bad-out
picture bad/images/q1.jpg 20x20 white
printf 'RIFF\044\000\000\000WEBPVP8 ' >bad/images/not-jpeg.jpg  # a WebP picture named .jpg
cp films/media/q1.avi bad/media/clip.avi
printf 'old output\n' >bad-out/kept.exe

bad_source() {  # bad_source NAME: writes bad/NAME.toml from stdin
  cat >"bad/$1.toml"
}
bad_source syntax <<'EOF'
kind = "picture"
title = "Sans fin
EOF
bad_source missing-picture <<'EOF'
kind = "picture"
[[question]]
answer = "a"
picture = "images/absent.jpg"
EOF
bad_source not-jpeg <<'EOF'
kind = "picture"
[[question]]
answer = "a"
picture = "images/not-jpeg.jpg"
EOF
bad_source avi-as-sound <<'EOF'
kind = "sound"
[[question]]
answer = "a"
media = "media/clip.avi"
EOF
bad_source arrow <<'EOF'
kind = "text"
title = "Nord → Sud"
[[question]]
answer = "a"
EOF

expect_line() {  # expect_line DESCRIPTION TEXT: last.err holds TEXT
  grep -qF -- "$2" last.err || { cat last.err; fail "$1: the message does not say: $2"; }
}
check_nothing_written() {  # the output folder still holds only kept.exe, unchanged
  [ "$(ls -A bad-out)" = kept.exe ] || { ls -A bad-out; fail "$1 left files in the output folder"; }
  [ "$(cat bad-out/kept.exe)" = "old output" ] || fail "$1 changed the existing output"
}

expect_exit 1 "syntax error" build bad/syntax.toml -o bad-out/kept.exe
expect_line "syntax error" "bad/syntax.toml:2:18: error: TOML syntax:"
check_nothing_written "syntax error"
expect_exit 1 "missing picture" build bad/missing-picture.toml -o bad-out/kept.exe
expect_line "missing picture" "bad/missing-picture.toml:4:11: error: question 1: picture: images/absent.jpg: no such file"
check_nothing_written "missing picture"
expect_exit 1 "WebP picture" build bad/not-jpeg.toml -o bad-out/kept.exe
expect_line "WebP picture" "bad/not-jpeg.toml:4:11: error: question 1: picture: images/not-jpeg.jpg is a WebP file"
check_nothing_written "WebP picture"
expect_exit 1 "AVI as sound" build bad/avi-as-sound.toml -o bad-out/kept.exe
expect_line "AVI as sound" "bad/avi-as-sound.toml:4:9: error: question 1: media: media/clip.avi is not an MP3 file"
check_nothing_written "AVI as sound"
expect_exit 1 "arrow" build bad/arrow.toml -o bad-out/kept.exe
expect_line "arrow" "bad/arrow.toml:2:9: error: title: character U+2192 (→) cannot be written in Windows-1252"
check_nothing_written "arrow"
cat >bad/bad-icon.toml <<'EOF'
kind = "text"
icon = "bad-icon.toml"
[[question]]
answer = "a"
EOF
expect_exit 1 "icon that is no picture" build bad/bad-icon.toml -o bad-out/kept.exe
expect_line "icon that is no picture" "bad/bad-icon.toml:2:8: error: icon: bad-icon.toml is not a picture"
check_nothing_written "icon that is no picture"
expect_exit 1 "missing source" build bad/absent.toml -o bad-out/kept.exe
expect_line "missing source" "bad/absent.toml: error: no such file"
check_nothing_written "missing source"
expect_exit 1 "template that is not an executable" build films/quiz.toml -o bad-out/kept.exe --template films/quiz.toml
check_nothing_written "a template that is not an executable"
expect_exit 1 "missing template" build films/quiz.toml -o bad-out/kept.exe --template bad/absent.exe
check_nothing_written "a missing template"
expect_exit 1 "output folder missing" build films/quiz.toml -o bad-out/absent/out.exe
[ ! -e bad-out/absent ] || fail "a missing output folder was created"
check_nothing_written "a missing output folder"
cp "$template" bad-out/player.exe
expect_exit 1 "output is the template" build films/quiz.toml -o bad-out/player.exe --template bad-out/player.exe
cmp -s "$template" bad-out/player.exe || fail "building onto the template changed it"
rm bad-out/player.exe
pass "bad input exits 1 with file, line and field, and writes nothing"

# A good build replaces an existing output whole.
expect_exit 0 "build over an existing output" build films/quiz.toml -o bad-out/kept.exe
cmp -s out-films/first.exe bad-out/kept.exe || fail "the replaced output is not the packed quiz"
[ "$(ls -A bad-out)" = kept.exe ] || fail "a successful build left a temporary file"
pass "build replaces an existing output and leaves no temporary file"

expect_exit 1 "show of the bare template" show "$template"
expect_line "show of the bare template" "carries no quiz"
expect_exit 1 "show of a text file" show films/quiz.toml
expect_line "show of a text file" "cannot be read as an executable"
expect_exit 1 "show of a missing file" show bad/absent.exe
mkdir -p full && touch full/something
expect_exit 1 "unpack into a folder that is not empty" unpack out-films/first.exe -o full
expect_line "unpack into a folder that is not empty" "is not empty"
[ "$(ls -A full)" = something ] || fail "unpack wrote into a folder that was not empty"
pass "show and unpack refuse what carries no quiz, and non-empty folders"

# The loader's messages reach stderr as lines; the quiz loader's test fixtures
# carry the broken codes streams.
fixtures="$DEVINETTE_WINDOWS_BUILD/tests/fixtures"
if [ -f "$fixtures/loader_codes_absent.dll" ]; then
  expect_exit 0 "show without a codes stream" show "$fixtures/loader_codes_absent.dll"
  expect_line "show without a codes stream" "player message (Quizz): Codes non trouvés."
  grep -q '^\[\[question\]\]$' last.out || fail "show without a codes stream prints no quiz"
  expect_exit 1 "show of an undecodable quiz" show "$fixtures/loader_undecodable_quiz.dll"
  expect_line "show of an undecodable quiz" "player message (Quizz): Erreur dans le décryptage des reponses"
  expect_line "show of an undecodable quiz" "the quiz it carries cannot be read"
  pass "the loader's messages are printed on stderr"
else
  echo "note: $fixtures/loader_codes_absent.dll is not built; the loader message checks are skipped"
fi

# ---------------------------------------------------------------- Wine that cannot start
# A C heap grown over the address of Wine's shared user data, as a random heap
# start now and then gives one: Wine gives up before the tool runs, and says why.
cat >grow_heap.c <<'EOF'
#include <stdint.h>
#include <unistd.h>
__attribute__((constructor)) static void grow_heap(void) {
    const uintptr_t end = (uintptr_t)sbrk(0);
    if (end < 0x7ffe1000) sbrk(0x7ffe1000 - end);
}
EOF
cc -shared -fPIC -o grow_heap.so grow_heap.c
LD_PRELOAD="$work/grow_heap.so" expect_exit 1 "Wine that cannot start" show out-films/first.exe
expect_line "Wine that cannot start" "failed to map the shared user data"
pass "a Wine that cannot start says why"

# ---------------------------------------------------------------- usage: exit 2
expect_exit 2 "no command"
expect_line "no command" "Usage:"
expect_exit 2 "unknown command" pack films/quiz.toml
expect_line "unknown command" 'unknown command "pack"'
expect_exit 2 "build without input" build -o x.exe
expect_exit 2 "-o without a value" build films/quiz.toml -o
expect_exit 2 "unknown option" build films/quiz.toml -o x.exe --force
expect_exit 2 "two inputs" build films/quiz.toml chansons/quiz.toml -o x.exe
expect_exit 2 "show with -o" show out-films/first.exe -o x
expect_exit 2 "unpack without -o" unpack out-films/first.exe
expect_exit 2 "unpack with a template" unpack out-films/first.exe -o y --template "$template"
[ ! -e x.exe ] && [ ! -e x ] && [ ! -e y ] || fail "a usage error wrote something"
expect_exit 0 "help" --help
grep -q "devinette-pack build QUIZ.toml \[-o OUT.exe\]" last.out || fail "help does not print the usage"
pass "usage errors exit 2 with the usage text"

[ "$(sha256sum <"$template")" = "$template_sum" ] || fail "the template changed"
pass "the template is unchanged"
echo "pack tool: all checks passed"
