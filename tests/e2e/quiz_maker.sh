#!/usr/bin/env bash
# End to end, as a quiz maker works: devinette-pack new on a folder of pictures
# with accented, spaced and dashed names and a file it leaves out, packed as it
# stands; check reporting several mistakes in one run and writing nothing;
# warnings and --strict; try; tries failing a build; a source dropped on the tool
# (one argument) built beside it; an output folder that does not exist said in
# words; the tool in a pseudo-terminal; and the examples' tries checked. Run from
# a script or a terminal, the tool never waits for Enter (each run has a
# timeout). DEVINETTE_WINDOWS_BUILD names the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export DEVINETTE_WINDOWS_BUILD=${DEVINETTE_WINDOWS_BUILD:-$root/build/windows}

. "$root/tests/e2e/pack_checks.bash"
pack() { timeout 120 "$root/scripts/devinette-pack" "$@" </dev/null; }
command -v convert >/dev/null || fail "convert is needed"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

expect_text() {  # expect_text FILE DESCRIPTION TEXT
  grep -qF -- "$3" "$1" || { cat "$1"; fail "$2: does not say: $3"; }
}

# ---------------------------------------------------------------- new, then build as it stands
mkdir "Été à Paris"
convert -size 30x20 xc:'#0055A4' "Été à Paris/Tour_Eiffel.jpg"
convert -size 20x30 xc:'#EF4135' JPEG:"Été à Paris/Notre-Dame de Paris.png"  # the content decides
convert -size 20x20 xc:white "Été à Paris/Château 10.gif"
convert -size 20x20 xc:black "Été à Paris/Château 9.bmp"
printf 'notes' >"Été à Paris/lisez-moi.txt"
convert -size 20x20 xc:white "Été à Paris/Pont_Neuf.webp"
expect_exit 0 "new" new "Été à Paris"
# Paths as typed, '/' joined; the next steps name the command that runs here.
expect_text last.out "new" "Été à Paris/quiz.toml: a picture quiz of 4 questions"
expect_text last.out "new" "  2. $root/scripts/devinette-pack check \"Été à Paris/quiz.toml\""
[ "$(tail -n 1 last.out)" = "  3. $root/scripts/devinette-pack build \"Été à Paris/quiz.toml\"" ] ||
  { cat last.out; fail "new: the build step is not the build that runs here"; }
expect_text last.out "new" "  Pont_Neuf.webp: a WebP picture, which a quiz cannot carry: export it as JPEG or PNG"
toml="Été à Paris/quiz.toml"
expect_text "$toml" "new" 'title = "Été à Paris"'
[ "$(grep '^answer = ' "$toml" | tr '\n' '|')" = 'answer = "Château 9"|answer = "Château 10"|answer = "Notre-Dame de Paris"|answer = "Tour Eiffel"|' ] ||
  { cat "$toml"; fail "new: answers are not the file names in number order"; }
expect_text "$toml" "new" '# reveal_text = ""'
expect_exit 1 "new over an existing quiz.toml" new "Été à Paris"
expect_text last.err "new twice" "Été à Paris/quiz.toml: error: already exists; new never overwrites a file"
mkdir empty
expect_exit 1 "new on an empty folder" new empty
[ ! -e empty/quiz.toml ] || fail "new wrote into an empty folder"
mkdir media
cp "$root/examples/animaux/sons/q1.mp3" media/b.mp3
cp "$root/examples/animaux/sons/q2.mp3" media/a.mp3
cp "$root/examples/formes/videos/q1.avi" media/clip.avi
expect_exit 0 "new on sounds and a video" new media
expect_text last.out "new on sounds and a video" "a sound quiz of 2 questions"  # the most numerous kind
[ "$(grep '^media = ' media/quiz.toml | head -n 1)" = 'media = "a.mp3"' ] || { cat media/quiz.toml; fail "new: sounds out of order"; }
rm media/quiz.toml
expect_exit 0 "new --kind video" new media --kind video
expect_text last.out "new --kind video" "a video quiz of 1 question"
expect_exit 0 "new --kind text" new empty --kind text
expect_text last.out "new --kind text" "a text quiz of 10 questions"
expect_exit 1 "new on a missing folder" new absent
expect_text last.err "new on a missing folder" "absent: error: no such folder"
expect_exit 0 "build of a new quiz" build "$toml"
expect_text last.out "build of a new quiz" "Été à Paris/Été à Paris.exe: 4 questions packed"
# new writes grading = "lenient", under which accents are no trap.
! grep -q "beyond A-Z" last.err || fail "build of a new quiz warns about accents under lenient grading"
pass "new writes a source that packs as it stands, and never overwrites"

# ---------------------------------------------------------------- every mistake at once
mkdir out
cat >bad.toml <<'TOML'
kind = "picture"
title = "Nord → Sud"
colour = "#12345"

[[question]]
answer = "Paris"
picture = "absent.jpg"

[[question]]
answer = "a|b"
picture = "Été à Paris/Tour_Eiffel.jpg"
TOML
expect_exit 1 "check of a source with four mistakes" check bad.toml
for line in 'bad.toml:2:9: error: title: character U+2192' 'bad.toml:3:10: error: colour:' \
    'bad.toml:10:10: error: question 2: answer:' 'bad.toml:7:11: error: question 1: picture: absent.jpg: no such file' \
    'bad.toml: 4 errors, 0 warnings; nothing written'; do
  expect_text last.err "check" "$line"
done
expect_exit 1 "build of a source with four mistakes" build bad.toml -o out/bad.exe
[ -z "$(ls -A out)" ] || fail "a refused build wrote into its output folder"
expect_exit 1 "output folder missing" build "$toml" -o out/absent/quiz.exe
expect_text last.err "output folder missing" "out/absent/: error: cannot create a temporary file in this folder: the folder does not exist"
pass "check and build report every mistake at once and write nothing"

# ---------------------------------------------------------------- warnings, --strict, tries, try
cat >grading.toml <<'TOML'
kind = "text"

[[question]]
answer = "Élysée"
tries = { "Elysee" = "Presque", "élysée" = "BRAVO" }

[[question]]
answer = "Li"
TOML
expect_exit 1 "a try that fails" check grading.toml
expect_text last.err "a try that fails" 'grading.toml:5:33: error: question 1: tries: "élysée" gets "Quasiment", not "BRAVO"'
expect_exit 1 "build with a try that fails" build grading.toml -o out/grading.exe
[ ! -e out/grading.exe ] || fail "a build with a failing try wrote its output"
sed -i 's/"élysée" = "BRAVO"/"élysée" = "Quasiment"/' grading.toml
expect_exit 0 "check with warnings" check grading.toml
expect_text last.err "warnings" 'grading.toml:4:10: warning: question 1: answer: "Élysée" holds letters beyond A-Z: a player who types "Elysee" gets "Presque"'
expect_text last.err "warnings" 'grading.toml:8:10: warning: question 2: answer: "Li" has 3 letters or fewer'
expect_text last.out "warnings" "grading.toml: 2 questions, no error, 2 warnings"
expect_exit 1 "--strict" check grading.toml --strict
expect_text last.err "--strict" 'grading.toml:8:10: error: question 2: answer: "Li" has 3 letters or fewer'
expect_text last.err "--strict" "grading.toml: 2 errors, 0 warnings (--strict made 2 warnings errors); nothing written"
expect_exit 0 "try" try grading.toml 1 Elysee "  élysée" "Élysée"
expect_text last.out "try" '"Elysee" -> Presque: not solved'
expect_text last.out "try" '"  élysée" -> Quasiment: not solved'
expect_text last.out "try" '"Élysée" -> BRAVO: solved'
expect_exit 2 "try of a second box in a one-box quiz" try grading.toml 1.2 x
pass "warnings, --strict, tries and try"

# ---------------------------------------------------------------- a source dropped on the tool
mkdir -p "Mes quiz/Capitales"
cp "$root/examples/capitales/quiz.toml" "Mes quiz/Capitales/quiz.toml"
expect_exit 0 "a dropped folder" "$work/Mes quiz/Capitales"
[ -s "Mes quiz/Capitales/Capitales.exe" ] || fail "a dropped folder was not built as Capitales.exe beside its source"
expect_text last.out "a dropped folder" "$work/Mes quiz/Capitales/Capitales.exe: 22 questions packed"
rm "Mes quiz/Capitales/Capitales.exe"
expect_exit 0 "a folder named" "Mes quiz/Capitales"
expect_text last.err "a folder named" 'Mes quiz/Capitales/quiz.toml:59:10: warning: question 10: answer: "Athènes"'
expect_text last.out "a folder named" "Mes quiz/Capitales/Capitales.exe: 22 questions packed"
rm "Mes quiz/Capitales/Capitales.exe"
expect_exit 0 "a dropped source" "$work/Mes quiz/Capitales/quiz.toml"
[ -s "Mes quiz/Capitales/Capitales.exe" ] || fail "a dropped source was not built as Capitales.exe beside it"
pass "a source or folder dropped on the tool is built beside it, named after its folder"

# ---------------------------------------------------------------- in a Linux terminal
# Under Wine a pseudo-terminal gives the tool a console of its own, as Explorer
# does on Windows: it must not wait for Enter there, and must print UTF-8 whole.
# The terminal's input never ends, so a tool that waited would run into the timeout.
# A terminal wide enough that no line wraps inside a word, whatever the checkout's path.
screen=$(timeout 60 script -qec "stty cols 400; $(printf '%q ' "$root/scripts/devinette-pack" check "$root/examples/capitales/quiz.toml")" \
  /dev/null < <(sleep 120 2>/dev/null)) || fail "check in a terminal did not end by itself (exit $?)"
# Wine's console draws the text in pieces between cursor controls: read it without them.
sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' <<<"$screen" | grep -q 'Athènes' || { cat -v <<<"$screen"; fail "check in a terminal does not print Athènes whole"; }
pass "in a terminal the tool prints UTF-8 whole and never waits"

# ---------------------------------------------------------------- the examples' tries
for example in "$root"/examples/*/quiz.toml; do
  grep -q '^tries' "$example" || fail "$example has no tries"
  expect_exit 0 "check of $example" check "$example"
done
pass "every example's tries grade as written"
echo "quiz maker: all checks passed"
