# Sourced by the pack tool's end-to-end scripts (not a test itself: the test
# run starts *.sh only). The sourcing script defines pack(), how it runs the tool.

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

# expect_exit CODE DESCRIPTION COMMAND...: runs the pack tool, output in last.out / last.err.
expect_exit() {
  local expected=$1 description=$2; shift 2
  local status=0
  pack "$@" >last.out 2>last.err || status=$?
  if [ "$status" -ne "$expected" ]; then
    echo "--- stdout"; cat last.out; echo "--- stderr"; cat last.err
    fail "$description: exit $status, expected $expected"
  fi
}
