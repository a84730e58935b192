# Sourced by the end-to-end scripts that drive the player's windows (not a test
# itself: the test run starts *.sh only). Loads the Wine environment; started
# alone, the sourcing script is run again inside an X server of its own, with
# Wine's fixed address layout as in the test run.
. "$root/scripts/wine-env"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1024x768x24' "${wine_fixed_layout[@]}" bash "$0" "$@"
fi

fail() { echo "FAILED: $*"; exit 1; }
# wait_for COMMAND...: true once COMMAND succeeds, within 15 seconds.
wait_for() {
  for _ in $(seq 150); do "$@" && return 0; sleep 0.1; done
  return 1
}
