#!/usr/bin/env bash
# The Atelier as a quiz maker uses it, on its real window with the keyboard:
# opens a folder of photographs, types a variant, tries it, saves (the maker's
# comments kept), undoes and redoes, duplicates a question and undoes it, builds
# the same bytes as the pack tool, keeps a code by score, reads the source again when another program
# changes it, offers unsaved work back after a crash, plays with F5, and closes
# as the maker answers.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DEVINETTE_WINDOWS_BUILD:-$root/build/windows}
. "$root/scripts/wine-env"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
folder="Monuments de Paris"
mkdir "$folder"
convert -size 400x300 xc:'#3366AA' JPEG:"$folder/Tour_Eiffel.jpg"
convert -size 300x400 xc:'#AA6633' JPEG:"$folder/Le Louvre.jpg"
source="$folder/quiz.toml"

fail() { echo "FAIL: $*"; exit 1; }
probe() { wine "$build/tests/window_probe.exe" DevinetteAtelier "$@" | tr -d '\r' | iconv -f CP1252 -t UTF-8; }
caption() { xdotool getwindowname "$window"; }
keys() { xdotool key --clearmodifiers "$@"; sleep 0.7; }
expect() {  # expect WHAT GOT WANTED
  [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
}

wine "$build/bin/devinette-atelier.exe" "$folder" >/dev/null 2>&1 &
atelier=$!
title="quiz.toml - Atelier Devinette"
window=$("$root/scripts/wait-for-window" "^$title\$" 60)
[ -n "$window" ] || fail "the Atelier's window did not appear"
sleep 1.5
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 0.5
grep -q '^grading = "lenient"' "$source" || fail "the folder was not made a quiz as new makes it"
expect "questions listed" "$(probe count 100)" 2
probe wait-empty 102 60 || fail "the small pictures' count never ended"

# Dragging question 1 onto question 2's row moves it there, and it stays selected;
# undone, the order comes back. Then question 1 is selected again.
xdotool mousemove --window "$window" 150 79 mousedown 1 mousemove --window "$window" 150 90 \
  mousemove --window "$window" 150 116 mouseup 1
sleep 0.7
expect "the dragged question, selected at its new place" "$(probe texts 110)" "Le Louvre"
keys ctrl+z
expect "the drag undone" "$(probe texts 110)" "Tour Eiffel"
keys alt+l Home

# Question 1 is "Le Louvre": a variant, then a try of it in capitals.
keys alt+v; xdotool type --delay 40 'Musee du Louvre'
keys alt+e; xdotool type --delay 40 'MUSEE DU LOUVRE'
sleep 0.5
expect "the try's grade" "$(probe texts 117)" "BRAVO : résolue"
expect "the caption of unsaved work" "$(caption)" "*$title"

keys ctrl+s
grep -q '^variants = \["Musee du Louvre"\]$' "$source" || { cat "$source"; fail "the variant was not saved"; }
grep -q '^# Made by devinette-pack new' "$source" || fail "saving lost the source's comments"
expect "the caption once saved" "$(caption)" "$title"
cp "$source" saved.toml

keys ctrl+z
expect "the variant undone" "$(probe texts 111)" ""
expect "the caption after an undo" "$(caption)" "*$title"
keys ctrl+y
expect "the variant redone" "$(probe texts 111)" "Musee du Louvre"
expect "back to the saved state" "$(caption)" "$title"
keys ctrl+d
expect "a question duplicated" "$(probe count 100)" 3
keys ctrl+z
expect "the duplicate undone" "$(probe count 100)" 2

# The quiz's page: a code from 2 solved on, saved as a table by score.
keys ctrl+Tab
keys alt+c; xdotool type --delay 40 '2 = BRAVO'
keys ctrl+s
grep -q '^codes = { 2 = "BRAVO" }$' "$source" || { cat "$source"; fail "the code by score was not saved"; }
keys ctrl+Tab

# A screenshot on the clipboard becomes question 2's picture, saved as a PNG.
probe clipboard-picture
keys ctrl+v
keys ctrl+s
[ -f "$folder/Capture 1.png" ] || fail "the pasted picture was not saved in the quiz's folder"
grep -q '^picture = "Capture 1.png"$' "$source" || { cat "$source"; fail "the pasted picture is not the question's"; }

# Ctrl+B builds beside the source what the pack tool builds of it.
keys ctrl+b
for _ in $(seq 1 60); do [ -s "$folder/$folder.exe" ] && break; sleep 0.5; done
sleep 1
"$root/scripts/devinette-pack" build "$source" -o by-pack-tool.exe >/dev/null
cmp "$folder/$folder.exe" by-pack-tool.exe || fail "the Atelier's build differs from the pack tool's"

# Another program changes the source while nothing is unsaved: it is read again,
# question 2 still selected (the duplicate's place, undone).
sed -i 's/^answer = "Tour Eiffel"$/answer = "La tour Eiffel"/' "$source"
cp "$source" saved.toml
sleep 2.5
expect "the answer read again" "$(probe texts 110)" "La tour Eiffel"

# A change, then a crash: the next start offers the copy kept a few seconds later.
keys alt+t; xdotool type --delay 40 'Quel musée ?'
sleep 4
wine taskkill /f /im devinette-atelier.exe >/dev/null 2>&1 || true
for _ in $(seq 1 20); do kill -0 $atelier 2>/dev/null || break; sleep 0.5; done
wine "$build/bin/devinette-atelier.exe" "$source" >/dev/null 2>&1 &
atelier=$!
question=$("$root/scripts/wait-for-window" "^Atelier Devinette\$" 60)
[ -n "$question" ] || fail "no offer to restore the unsaved work"
sleep 1
xdotool windowfocus "$question" 2>/dev/null || true
keys Return
window=$("$root/scripts/wait-for-window" "^\\*$title\$" 30)
[ -n "$window" ] || fail "the restored work is not shown as unsaved"
keys alt+l End
expect "the text restored" "$(probe texts 114)" "Quel musée ?"
# A picture quiz never shows a question's text: its label says so with a mark.
expect "the text's warning on its label" "$(probe texts 204)" "! &Texte"
keys alt+t
expect "the warning in French in the status bar" "$(probe texts 120)" \
  "Avertissement : un quiz qui n'est pas de texte ne montre jamais le texte d'une question : il est emporté mais jamais vu"
cmp "$source" saved.toml || fail "restoring wrote over the source"

# F5 plays what is shown, unsaved, without saving it.
xdotool windowfocus "$window" 2>/dev/null || true
keys F5
played=$("$root/scripts/wait-for-window" "^Monuments de Paris\$" 60)
[ -n "$played" ] || fail "F5 started no quiz"
wine "$build/tests/window_probe.exe" "Monuments de Paris" close >/dev/null 2>&1
cmp "$source" saved.toml || fail "F5 saved the source"

# Closing with that change: "Annuler" keeps the window, "Ne pas enregistrer"
# leaves the saved file as it was.
sleep 2
probe close
sleep 1
keys Escape
kill -0 $atelier 2>/dev/null || fail "the Atelier closed although the maker cancelled"
probe close
sleep 1
keys n
for _ in $(seq 1 20); do kill -0 $atelier 2>/dev/null || break; sleep 0.5; done
kill -0 $atelier 2>/dev/null && fail "the Atelier did not close"
cmp "$source" saved.toml || fail "closing without saving changed the source"
# A packed quiz opens unpacked beside it.
wine "$build/bin/devinette-atelier.exe" "$folder/$folder.exe" >/dev/null 2>&1 &
atelier=$!
[ -n "$("$root/scripts/wait-for-window" "^$title\$" 60)" ] || fail "the packed quiz did not open"
[ -f "$folder/$folder (source)/quiz.toml" ] || fail "the packed quiz was not unpacked beside it"
expect "the packed quiz's questions" "$(probe count 100)" 2
probe close
for _ in $(seq 1 20); do kill -0 $atelier 2>/dev/null || break; sleep 0.5; done

# Bad input, each said, nothing lost, never a crash: a source that is not TOML
# opens with its error listed; a picture that cannot be read is an error of its
# question; a program that carries no quiz is said so, and the window stays.
opened_with_errors() {  # opened_with_errors PATH WHAT ERRORS
  wine "$build/bin/devinette-atelier.exe" "$1" >/dev/null 2>&1 &
  atelier=$!
  [ -n "$("$root/scripts/wait-for-window" "^$title\$" 60)" ] || fail "$2 did not open"
  sleep 1
  expect "$2" "$(probe texts 120 | grep -o '[0-9]* erreurs\?')" "$3"
  probe close
  for _ in $(seq 1 20); do kill -0 $atelier 2>/dev/null || break; sleep 0.5; done
}
mkdir "Pas du TOML" Abimee
printf 'kind = "picture"\ntitle = \n' >"Pas du TOML/quiz.toml"
opened_with_errors "Pas du TOML/quiz.toml" "a source that is not TOML" "1 erreur"
convert -size 300x200 xc:'#AA3366' JPEG:- | head -c 400 >Abimee/cassee.jpg
printf 'kind = "picture"\n\n[[question]]\nanswer = "Cassée"\npicture = "cassee.jpg"\n' >Abimee/quiz.toml
opened_with_errors Abimee/quiz.toml "a picture cut short" "1 erreur"
cp "$build/bin/devinette.exe" "Sans quiz.exe"
wine "$build/bin/devinette-atelier.exe" "Sans quiz.exe" >/dev/null 2>&1 &
atelier=$!
[ -n "$("$root/scripts/wait-for-window" "^Atelier Devinette\$" 60)" ] || fail "no word about a program without a quiz"
keys Return
expect "nothing opened from a program without a quiz" "$(probe count 100)" 0
[ ! -e "Sans quiz (source)" ] || fail "a folder was made for a program without a quiz"
probe close
for _ in $(seq 1 20); do kill -0 $atelier 2>/dev/null || break; sleep 0.5; done

# A sound quiz, one of its sounds gone: its question's sound plays and stops.
# Its source is read-only.
cp -r "$root/examples/animaux" animaux
chmod a-w animaux/quiz.toml
rm animaux/sons/q9.mp3
wine "$build/bin/devinette-atelier.exe" animaux/quiz.toml >/dev/null 2>&1 &
atelier=$!
window=$("$root/scripts/wait-for-window" "^$title\$" 60)
[ -n "$window" ] || fail "the sound quiz did not open"
sleep 1
expect "the missing sound, found by the files' check" "$(probe texts 120 | grep -o '[0-9]* erreurs\?')" "1 erreur"
keys alt+c
expect "the sound playing" "$(probe texts 120)" "Écoute de sons/q1.mp3"
keys alt+a
expect "the sound stopped" "$(probe texts 120)" "Son arrêté."
# Saving over a read-only source is refused in words; the change stays, unsaved.
keys alt+r End; xdotool type --delay 40 'x'
keys ctrl+s
[ -n "$("$root/scripts/wait-for-window" "^Atelier Devinette\$" 30)" ] || fail "no word about a source that cannot be saved"
keys Return
sleep 0.5
expect "the change kept, unsaved" "$(caption)" "*$title"
cmp animaux/quiz.toml "$root/examples/animaux/quiz.toml" || fail "the read-only source was changed"
probe close
sleep 1
keys n
for _ in $(seq 1 20); do kill -0 $atelier 2>/dev/null || break; sleep 0.5; done

# A folder that does not exist: said, and the window opens empty.
wine "$build/bin/devinette-atelier.exe" "Absent" >/dev/null 2>&1 &
atelier=$!
[ -n "$("$root/scripts/wait-for-window" "^Atelier Devinette\$" 60)" ] || fail "no word about a missing folder"
keys Return
expect "an empty Atelier" "$(probe count 100)" 0
probe close
for _ in $(seq 1 20); do kill -0 $atelier 2>/dev/null || break; sleep 0.5; done
kill -0 $atelier 2>/dev/null && fail "the empty Atelier did not close"
# Started without a quiz, it offers the last ones: "1" opens the sound quiz again.
wine "$build/bin/devinette-atelier.exe" >/dev/null 2>&1 &
atelier=$!
sleep 5
keys 1
[ -n "$("$root/scripts/wait-for-window" "^$title\$" 30)" ] || fail "the last quiz was not offered"
expect "the last quiz's questions" "$(probe count 100)" 9
probe close
for _ in $(seq 1 20); do kill -0 $atelier 2>/dev/null || break; sleep 0.5; done
echo "opened, edited, tried, saved, undone, built, read again, restored, played and closed"
