#!/usr/bin/env bash
# At 144 DPI the texts of the quiz maker and the version label still show whole
# or end with an ellipsis, in labels that lie over no other. Wine gives a
# DPI-unaware program the fonts of the prefix's DPI (the LogPixels value) in its
# fixed-pixel layout, where Windows would scale a 96-DPI window: the player's
# labels take the size their texts need. The Windows tests that check the texts
# run again with LogPixels at 144, which is put back to 96 whatever happens.
# Runs inside Xvfb (scripts/test-windows); started alone it makes its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${DEVINETTE_WINDOWS_BUILD:-$root/build/windows}
. "$root/tests/e2e/window_checks.bash"

fonts='HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'
set_dpi() { wine reg add "$fonts" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null; }
work=$(mktemp -d "${DEVINETTE_RESULTS:-${TMPDIR:-/tmp}}/high_dpi.XXXX")
cd "$work"  # the tests' results files land here
trap 'set_dpi 96' EXIT
set_dpi 144
wine "$build/tests/win32_tests.exe" --gtest_filter='MainWindow.HeaderTextsColoursLinkAndSave:QuestionPanel.TwoBoxSoundQuiz' \
  >tests.log 2>&1 || { grep -aE 'Failure|Which is|FAILED|shown' tests.log | head -n 30; fail "texts cut at 144 DPI"; }
grep -aq 'PASSED.*2 tests' tests.log || fail "the tests did not run: $(tail -n 5 tests.log)"
echo "texts whole at 144 DPI"
