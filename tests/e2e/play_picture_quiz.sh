#!/usr/bin/env bash
# Plays the packed flag quiz as a person would, inside Xvfb: types answers with
# the keyboard (Enter, Tab, F1, F2), closes the window, starts it again and finds
# the answers back in the results file it saves.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DEVINETTE_WINDOWS_BUILD:-$root/build/windows}
. "$root/scripts/wine-env"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/scripts/devinette-pack" build "$root/examples/drapeaux/quiz.toml" -o "$work/drapeaux.exe"
cd "$work"

start_quiz() {
  wine ./drapeaux.exe >/dev/null 2>&1 &
  player=$!
  window=$("$root/scripts/wait-for-window" '^Drapeaux du monde$' 60)
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
line() { sed -n "${1}p" drapeaux.txt | tr -d '\r'; }
expect_line() {
  local got; got=$(line "$1")
  [ "$got" = "$2" ] || { echo "line $1 of drapeaux.txt: expected '$2', got '$got'"; cat -A drapeaux.txt; exit 1; }
}

start_quiz
# The first answer box has the focus at start; Shift+Tab wraps round to the last.
xdotool type --delay 60 'France'; xdotool key Return
xdotool key Tab; xdotool type --delay 60 'Italie'
xdotool key Tab; xdotool type --delay 60 'Allemagn'
xdotool key shift+Tab shift+Tab shift+Tab; xdotool type --delay 60 'Pologne'; xdotool key Return
xdotool key F2
sleep 1
[ -f drapeaux.txt ] || { echo "F2 wrote no results file"; exit 1; }
[ "$(wc -l <drapeaux.txt)" -eq 12 ] || { echo "expected 12 lines"; cat -A drapeaux.txt; exit 1; }
expect_line 1 France; expect_line 2 Italie; expect_line 3 Allemagn; expect_line 12 Pologne
# F1 in box 3 tries "Allemagn" in every unsolved box (4 to 11); the solved ones keep theirs.
xdotool key Tab Tab Tab
xdotool key F1
sleep 1
close_quiz
expect_line 1 France; expect_line 2 Italie; expect_line 12 Pologne
for n in 3 4 5 6 7 8 9 10 11; do expect_line $n Allemagn; done

# The next start restores every box; closing at once saves the same answers.
cp drapeaux.txt first-run.txt
start_quiz
close_quiz
cmp first-run.txt drapeaux.txt || { echo "the answers did not come back"; exit 1; }
echo "played, saved, restored"
