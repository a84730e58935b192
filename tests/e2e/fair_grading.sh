#!/usr/bin/env bash
# A child's answers to a quiz graded leniently, with another accepted answer:
# typed in capitals, without accents, with a space for a hyphen, they solve and
# reveal; the next start shows the same grades again.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DEVINETTE_WINDOWS_BUILD:-$root/build/windows}
. "$root/scripts/wine-env"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
title='Drapeaux du monde'
# The flag quiz, graded leniently, with another name for the Netherlands.
ln -s "$root/examples/drapeaux/images" images
sed -e 's/^kind = "picture"$/&\ngrading = "lenient"/' \
    -e 's/^answer = "Pays-Bas"$/&\nvariants = ["Nederland"]/' "$root/examples/drapeaux/quiz.toml" >quiz.toml
"$root/scripts/devinette-pack" build quiz.toml -o drapeaux.exe >build.log 2>&1 || { cat build.log; exit 1; }

probe() { wine "$build/tests/window_probe.exe" "$title" "$@" | tr -d '\r'; }
start_quiz() {
  wine ./drapeaux.exe >/dev/null 2>&1 &
  player=$!
  window=$("$root/scripts/wait-for-window" "^$title\$" 60)
  [ -n "$window" ] || { echo "the quiz window did not appear"; exit 1; }
  sleep 1.5
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  sleep 0.5
}
close_quiz() {
  xdotool key --clearmodifiers alt+F4
  for _ in $(seq 1 40); do kill -0 $player 2>/dev/null || return 0; sleep 0.5; done
  echo "the quiz did not end after alt+F4"; exit 1
}
# Grades of boxes 1, 5, 7 and 8, then the reveal texts of questions 1, 5 and 7:
# graded leniently, spaces around a text do not stop its reveal.
shown() { probe texts 5001 5005 5007 5008 8001 8005 8007 | tr '\n' '|'; }
expected='BRAVO|BRAVO|BRAVO|Quasiment|Bleu, blanc, rouge : le drapeau tricolore|Rouge, blanc, bleu, en bandes horizontales|Une croix jaune sur fond bleu|'

start_quiz
xdotool type --delay 60 ' FRANCE '
xdotool key Tab Tab Tab Tab; xdotool type --delay 60 'NEDERLAND'
xdotool key Tab Tab; xdotool type --delay 60 'SUEDE'
xdotool key Tab; xdotool type --delay 60 'DANEMARC'; xdotool key Return
sleep 1
got=$(shown | iconv -f CP1252 -t UTF-8)
[ "$got" = "$expected" ] || { echo "grades shown: '$got', expected '$expected'"; exit 1; }
close_quiz
start_quiz
got=$(shown | iconv -f CP1252 -t UTF-8)
[ "$got" = "$expected" ] || { echo "grades after a restart: '$got', expected '$expected'"; exit 1; }
close_quiz
echo "graded leniently, with a variant, and restored"
