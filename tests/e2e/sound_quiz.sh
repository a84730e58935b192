#!/usr/bin/env bash
# End to end, the packed sound example under Wine: a click on play of question 1
# writes quizz1.mp3 beside the quiz, a click on its stop button removes it, and
# closing the window leaves no media file behind and writes the results file.
# Runs inside Xvfb (scripts/test-windows); started alone it makes its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1024x768x24' bash "$0" "$@"
fi
. "$root/scripts/wine-env"

fail() { echo "FAILED: $*"; exit 1; }
# wait_for COMMAND...: true once COMMAND succeeds, within 15 seconds.
wait_for() {
  for _ in $(seq 150); do "$@" && return 0; sleep 0.1; done
  return 1
}

example=$root/examples/animaux
work=$(mktemp -d "${DEVINETTE_RESULTS:-${TMPDIR:-/tmp}}/sound_quiz.XXXX")
"$root/scripts/devinette-pack" build "$example/quiz.toml" -o "$work/animaux.exe"
cd "$work"  # the media files and the results file land beside the quiz

wine animaux.exe &
player=$!
trap 'kill "$player" 2>/dev/null || true' EXIT

window=$("$root/scripts/wait-for-window" '^Les animaux$' 60)
[ -n "$window" ] || fail "the main window did not appear"
# Wine's X window is the client area: X and Y are its origin on the screen.
eval "$(xdotool getwindowgeometry --shell "$window")"
# The question panel sits at client (5, 50) inside a one-pixel border; the first
# cell's column origin is x0 = 46 and its controls start at ry = 5: play at
# (x0, ry), 20 x 20, stop below it at (x0, ry + 20), 20 x 19.
panel_x=$((X + 5 + 1))
panel_y=$((Y + 50 + 1))
click() { xdotool mousemove --sync "$1" "$2" click 1; }

click $((panel_x + 46 + 10)) $((panel_y + 5 + 10))
wait_for test -f quizz1.mp3 || fail "play of question 1 wrote no quizz1.mp3"
wait_for cmp -s quizz1.mp3 "$example/sons/q1.mp3" || fail "quizz1.mp3 is not the question's media"
echo "play: quizz1.mp3 written"

click $((panel_x + 46 + 10)) $((panel_y + 5 + 20 + 9))
wait_for test ! -e quizz1.mp3 || fail "stop left quizz1.mp3"
echo "stop: quizz1.mp3 removed"

xdotool windowfocus --sync "$window" key alt+F4
wait_for eval '! kill -0 "$player" 2>/dev/null' || fail "the player did not close"
trap - EXIT

leftovers=$(find . -maxdepth 1 -name 'quizz*' | sort)
[ -z "$leftovers" ] || fail "media files left after closing: $leftovers"
[ -f animaux.txt ] || fail "no results file animaux.txt"
lines=$(tr -cd '\n' <animaux.txt | wc -c)
[ "$lines" -eq 9 ] || fail "animaux.txt holds $lines lines, not one per answer box (9)"
echo "close: no media file left, animaux.txt written"
