# What the window tests share, sourced by them: a scratch folder WORK, a virtual X server of
# its own, waiting on conditions, and a cleanup that ends the program under test (APP_PID) and
# the server however the test ends. A test may define fail_details to add to a failure.
# In a sanitizer build, the leak check leaves out the display libraries' caches.
LSAN_OPTIONS="suppressions=$HERE/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS
WORK=$(mktemp -d)
XVFB_PID=""
APP_PID=""

cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
  stop_xvfb
  rm -rf "$WORK"
}
trap cleanup EXIT
# A stopped test (ctest's timeout, Ctrl-C) still takes its X server and program along.
trap 'exit 1' INT TERM HUP

fail_details() { :; }

fail() {
  echo "FAIL: $*" >&2
  fail_details >&2
  exit 1
}

pass() {
  echo "ok: $*"
}

# Waits up to $2 tenths of a second for the command $1 to succeed.
wait_for() {
  tries=0
  while ! eval "$1"; do
    tries=$((tries + 1))
    [ "$tries" -ge "$2" ] && return 1
    sleep 0.1
  done
}

# Skips the test (exit 77) unless every tool named is installed.
require_tools() {
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIP: $tool is not installed"
      exit 77
    fi
  done
}

# Starts a virtual X server with a screen of $1 (WIDTHxHEIGHTxDEPTH) and exports its DISPLAY.
# The server picks a free display itself and writes its number once it accepts clients.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$WORK/display" \
    >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  wait_for '[ -s "$WORK/display" ]' 100 || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  DISPLAY=:$(cat "$WORK/display")
  export DISPLAY
}

stop_xvfb() {
  [ -n "$XVFB_PID" ] || return 0
  kill "$XVFB_PID" 2>/dev/null
  wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}
