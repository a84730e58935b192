#!/usr/bin/env bash
# End to end, the packed sound example under Wine: the play and stop buttons show
# their glyphs whole and centred, a click on play of question 1 writes quizz1.mp3
# beside the quiz, a click on its stop button removes it, and closing the window
# leaves no media file behind and writes the results file.
# Runs inside Xvfb (scripts/test-windows); started alone it makes its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/e2e/window_checks.bash"

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

# The glyphs of question 2 (no focus rectangle there): its column origin is
# x0 = 436, its play button at (x0, 5), 20 x 20, its stop button at (x0, 25), 20 x 19.
# glyph X Y W H: "left right top bottom count" of the black pixels in that rectangle.
sleep 2  # the first paint
import -window root screen.png
glyph() {
  convert screen.png -crop "$3x$4+$1+$2" +repage txt:- | awk -F'[,: ]+' '
    NR > 1 && / #000000 / { n++; if (n == 1 || $1 < l) l = $1; if ($1 > r) r = $1; if (n == 1 || $2 < t) t = $2; if ($2 > b) b = $2 }
    END { print l + 0, r + 0, t + 0, b + 0, n + 0 }'
}
# check_glyph NAME W H "left right top bottom count": whole (off the button's
# frames), centred within 2 pixels, and a triangle (about half its box) or a
# square (all of it).
check_glyph() {
  local name=$1 width=$2 height=$3 shape=$4 l r t b n
  read -r l r t b n <<<"$5"
  [ "$n" -gt 20 ] || fail "$name: no glyph ($n black pixels)"
  [ "$l" -ge 3 ] && [ "$t" -ge 3 ] && [ "$r" -le $((width - 4)) ] && [ "$b" -le $((height - 4)) ] ||
    fail "$name: glyph $l..$r x $t..$b touches the button's frame"
  [ $(((l + r) - (width - 1))) -ge -4 ] && [ $(((l + r) - (width - 1))) -le 4 ] &&
    [ $(((t + b) - (height - 1))) -ge -4 ] && [ $(((t + b) - (height - 1))) -le 4 ] ||
    fail "$name: glyph $l..$r x $t..$b is off-centre"
  local area=$(((r - l + 1) * (b - t + 1)))
  case $shape in
    triangle) [ $((4 * n)) -ge "$area" ] && [ $((4 * n)) -le $((3 * area)) ] || fail "$name: $n of $area pixels: no triangle" ;;
    square) [ "$n" -eq "$area" ] && [ $((r - l)) -eq $((b - t)) ] || fail "$name: $n of $area pixels: no square" ;;
  esac
  echo "$name: glyph $l..$r x $t..$b, $n pixels"
}
check_glyph play 20 20 triangle "$(glyph $((panel_x + 436)) $((panel_y + 5)) 20 20)"
check_glyph stop 20 19 square "$(glyph $((panel_x + 436)) $((panel_y + 25)) 20 19)"

click $((panel_x + 46 + 10)) $((panel_y + 5 + 10))
wait_for test -f quizz1.mp3 || fail "play of question 1 wrote no quizz1.mp3"
wait_for cmp -s quizz1.mp3 "$example/sons/q1.mp3" || fail "quizz1.mp3 is not the question's media"
echo "play: quizz1.mp3 written"

click $((panel_x + 46 + 10)) $((panel_y + 5 + 20 + 9))
wait_for test ! -e quizz1.mp3 || fail "stop left quizz1.mp3"
echo "stop: quizz1.mp3 removed"

click $((panel_x + 46 + 10)) $((panel_y + 5 + 10))
wait_for test -f quizz1.mp3 || fail "play of question 1 again wrote no quizz1.mp3"

xdotool windowfocus --sync "$window" key alt+F4
wait_for eval '! kill -0 "$player" 2>/dev/null' || fail "the player did not close"
trap - EXIT

leftovers=$(find . -maxdepth 1 -name 'quizz*' | sort)
[ -z "$leftovers" ] || fail "media files left after closing: $leftovers"
[ -f animaux.txt ] || fail "no results file animaux.txt"
lines=$(tr -cd '\n' <animaux.txt | wc -c)
[ "$lines" -eq 9 ] || fail "animaux.txt holds $lines lines, not one per answer box (9)"
echo "close: no media file left, animaux.txt written"
