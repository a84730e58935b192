#!/usr/bin/env bash
# A save that fails on closing, end to end with the real message box: the quiz
# runs in a folder that is removed while it runs; closing shows the box
# "Information" and nothing closes; Cancel goes back to the quiz; Try Again,
# once the folder is back, saves and closes; Continue closes without saving.
# Runs inside Xvfb (scripts/test-windows); started alone it makes its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/e2e/window_checks.bash"

running() { kill -0 "$player" 2>/dev/null; }
box() { xdotool search --onlyvisible --name '^Information$' 2>/dev/null | head -n 1; }
has_box() { [ -n "$(box)" ]; }
no_box() { [ -z "$(box)" ]; }

work=$(mktemp -d "${DEVINETTE_RESULTS:-${TMPDIR:-/tmp}}/failed_save.XXXX")
"$root/scripts/devinette-pack" build "$root/examples/capitales/quiz.toml" -o "$work/capitales.exe" >/dev/null
folder="$work/dossier"

# start_in_removed_folder: the quiz runs in $folder, which is then removed.
start_in_removed_folder() {
  mkdir -p "$folder"
  (cd "$folder" && exec wine ../capitales.exe >/dev/null 2>&1) &
  player=$!
  window=$("$root/scripts/wait-for-window" "^Capitales d'Europe$" 60)
  [ -n "$window" ] || fail "the quiz window did not appear"
  sleep 1
  rm -rf "$folder"
}
# close: asks the quiz to close; the box must appear and the quiz stay.
close() {
  # A click gives the quiz the keyboard again once a box has come and gone.
  xdotool mousemove --window "$window" 300 20 click 1 sleep 0.3 key alt+F4
  wait_for has_box || { import -window root "$work/no-box.png"; fail "no box \"Information\" after a failed save"; }
  sleep 0.5
  running || fail "the quiz ended before the player chose"
  xdotool windowactivate --sync "$(box)" 2>/dev/null || xdotool windowfocus --sync "$(box)"
}
# choose KEYS...: the buttons are Cancel (focused), Try Again, Continue.
choose() { xdotool key --delay 200 "$@"; }

start_in_removed_folder
close
choose Escape
wait_for no_box || fail "Cancel left the box"
sleep 1
running || fail "Cancel closed the quiz"
echo "cancel: back to the quiz"

close
mkdir "$folder"
choose Tab space
wait_for eval '! running' || fail "Try Again with the folder back did not close the quiz"
[ -f "$folder/capitales.txt" ] || fail "Try Again did not save"
[ "$(tr -cd '\n' <"$folder/capitales.txt" | wc -c)" -eq 22 ] || fail "capitales.txt does not hold 22 lines"
echo "try again: saved and closed"

start_in_removed_folder
close
choose Tab Tab space
wait_for eval '! running' || fail "Continue did not close the quiz"
[ ! -e "$folder" ] || fail "Continue saved something"
echo "continue: closed without saving"
