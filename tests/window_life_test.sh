#!/bin/sh
# How the game ends apart from its own controls: with no display it can
# reach, one line on standard error and exit 1; on SIGTERM, SIGINT or SIGHUP
# it closes its window and exits 0; when another program destroys its window,
# it exits 0 too. Needs a display for all but the first (77: skipped).
# A frame drawn just as the window goes is a race that a single try seldom
# hits, so the destroy case runs 20 times.
game="$1"
tool="$2"
fail=0
destroys=20

# A display number no server uses: no socket and no lock for it.
n=99
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
err=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=":$n" "$game" 2>&1 >/dev/null)
code=$?
if [ $code -ne 1 ] || [ "$(printf '%s\n' "$err" | wc -l)" -ne 1 ] ||
   ! printf '%s\n' "$err" | grep -q "^kragmoor: cannot start: .*:$n"; then
  echo "FAIL: DISPLAY=:$n kragmoor: exit $code, stderr: $err"
  fail=1
fi

[ -n "$DISPLAY" ] || { echo "no display: the window cases skipped"; [ $fail -eq 0 ] && exit 77; exit 1; }

# ends WHAT ACTION: starts the game, waits for its window, does ACTION to it
# and expects exit 0 within 30 s. (The shell starts a background job with
# SIGINT ignored, which the game respects: env gives it the default back.)
ends() {
  env --default-signal=INT "$game" 2>/dev/null &
  pid=$!
  if ! "$tool" wait $pid; then
    echo "FAIL: $1: no window"; kill -9 $pid; wait $pid; fail=1; return
  fi
  $2 $pid
  tries=0
  while kill -0 $pid 2>/dev/null && [ $tries -lt 300 ]; do sleep 0.1; tries=$((tries + 1)); done
  if kill -0 $pid 2>/dev/null; then
    echo "FAIL: $1: still running after 30 s"; kill -9 $pid; wait $pid; fail=1; return
  fi
  wait $pid
  code=$?
  [ $code -eq 0 ] || { echo "FAIL: $1: exit $code"; fail=1; }
}
ends SIGTERM "kill -TERM"
ends SIGINT "kill -INT"
ends SIGHUP "kill -HUP"
i=1
while [ $i -le $destroys ]; do
  ends "window destroyed (try $i)" "$tool destroy"
  i=$((i + 1))
done
exit $fail
