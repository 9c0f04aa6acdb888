#!/bin/sh
# A recording cut by kill -9 of the game still replays: check verifies what
# it holds and exits 3 with one line saying it was cut. SIGHUP ends a
# recorded game like SIGTERM: the recording is finished and checks with 0.
# Needs a display (77: skipped).
game="$1"
tool="$2"
sim="$3"
[ -n "$DISPLAY" ] || { echo "no display: skipped"; exit 77; }
fail=0
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT

# record SIGNAL: plays a recorded game for two seconds, then sends SIGNAL.
record() {
  "$game" --record "$tmp/$1.sim" 2>/dev/null &
  pid=$!
  "$tool" wait $pid || { echo "FAIL: $1: no window"; kill -9 $pid; wait $pid; fail=1; return; }
  sleep 2  # a few flushes of the recording, once a second each
  kill -"$1" $pid
  wait $pid
}

record KILL
err=$("$sim" check "$tmp/KILL.sim" 2>&1 >/dev/null)
code=$?
if [ $code -ne 3 ] || [ "$(printf '%s\n' "$err" | wc -l)" -ne 1 ] ||
   ! printf '%s\n' "$err" | grep -q 'the recording ends here without its closing hash'; then
  echo "FAIL: check of a recording cut by kill -9: exit $code, stderr: $err"
  fail=1
fi

record HUP
err=$("$sim" check "$tmp/HUP.sim" 2>&1 >/dev/null)
code=$?
[ $code -eq 0 ] || { echo "FAIL: check of a recording ended by SIGHUP: exit $code, stderr: $err"; fail=1; }
exit $fail
