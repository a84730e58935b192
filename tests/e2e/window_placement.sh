#!/usr/bin/env bash
# The player's window on a 1024 x 768 and a 1920 x 1080 screen, end to end under
# Wine, its rectangles read from another process (window_probe): the first start
# shows question 1's box, feedback label and picture (on the wide screen the
# whole width of the rows), centred; a window never moved writes nothing; a moved and resized window, then a
# maximised one, comes back so at the next start; a placement that only the
# wide screen held falls back to the first size on the smaller one.
# Runs inside Xvfb (scripts/test-windows); started alone it makes its own. It
# starts a second X server for the wide screen, and a wineserver for each.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DEVINETTE_WINDOWS_BUILD:-$root/build/windows}
. "$root/tests/e2e/window_checks.bash"

title='Drapeaux du monde'
key='HKCU\Software\Devinette\drapeaux.exe'
probe() { wine "$build/tests/window_probe.exe" "$title" "$@" | tr -d '\r'; }
start_quiz() {
  wine ./drapeaux.exe >/dev/null 2>&1 &
  player=$!
  [ -n "$("$root/scripts/wait-for-window" "^$title\$" 60)" ] || fail "the quiz window did not appear"
  sleep 1
}
close_quiz() {
  probe close
  wait "$player" || true
}
# The window on a screen of $1 x $2: within it and centred (to a pixel).
check_centred() {
  read -r left top right bottom _ <<<"$(probe window)"
  [ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le "$1" ] && [ "$bottom" -le "$2" ] &&
    [ $((left + right - $1)) -ge -1 ] && [ $((left + right - $1)) -le 0 ] &&
    [ $((top + bottom - $2)) -ge -1 ] && [ $((top + bottom - $2)) -le 0 ] ||
    fail "not centred within $1 x $2: $left $top $right $bottom"
}

if [ "${1:-}" = wide ]; then  # inside the 1920 x 1080 server
  cd "$2"
  wine reg delete "$key" /f >/dev/null 2>&1 || true  # a first start here too
  start_quiz
  check_centred 1920 1080
  probe in-view 4001 5001 9901 4003 5003 9903 || fail "the first row is not whole on the wide screen"
  probe place 1100 500 800 500  # where only the wide screen has room
  close_quiz
  exit 0
fi

work=$(mktemp -d "${DEVINETTE_RESULTS:-${TMPDIR:-/tmp}}/window_placement.XXXX")
"$root/scripts/devinette-pack" build "$root/examples/drapeaux/quiz.toml" -o "$work/drapeaux.exe" >/dev/null
cd "$work"
wine reg delete "$key" /f >/dev/null 2>&1 || true
trap 'kill "${player:-}" 2>/dev/null || true; wine reg delete "$key" /f >/dev/null 2>&1 || true' EXIT

start_quiz
check_centred 1024 768
probe in-view 4001 5001 9901 || fail "question 1 is not in view at the first start"
first=$(probe window)
close_quiz
! wine reg query "$key" >/dev/null 2>&1 || fail "a window never moved left a placement"

start_quiz
probe place 40 30 500 300  # lower than the first row: the focused box is scrolled into view
close_quiz
start_quiz
[ "$(probe window)" = "40 30 540 330 0" ] || fail "moved and resized, it came back at $(probe window)"
probe in-view 4001 5001 || fail "box 1, which has the focus, is not in view in the restored window"
probe maximise
sleep 1
close_quiz
start_quiz
placed=$(probe window)
[ "${placed##* }" = 1 ] || fail "maximised, it came back as $placed"
close_quiz

# A wineserver keeps the screens it first saw: each screen size gets its own.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
xvfb-run -a -s '-screen 0 1920x1080x24' bash "$root/tests/e2e/window_placement.sh" wide "$work" || fail "on the wide screen"
wineserver -w 2>/dev/null || true
start_quiz
[ "$(probe window)" = "$first" ] || fail "a placement off this screen was used: $(probe window), first start $first"
close_quiz
echo "first window, focus, remembered placement and fallback on two screens"
