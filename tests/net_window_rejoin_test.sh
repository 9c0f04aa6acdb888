#!/bin/sh
# A window that joined a network game and was killed with kill -9 takes its
# seat again when started once more with the same code: the referee's peer
# line says rejoined, and its recording checks. Needs a display (77: skipped).
# Usage: net_window_rejoin_test.sh KRAGMOOR SIM WINDOW_TOOL
set -u
game=$1
sim=$2
tool=$3
[ -n "${DISPLAY:-}" ] || { echo "no display: skipped"; exit 77; }
tmp=$(mktemp -d)
serve_pid=
window=
trap '[ -n "$serve_pid" ] && kill "$serve_pid" 2>/dev/null; [ -n "$window" ] && kill -9 "$window" 2>/dev/null; rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*"
  for f in "$tmp"/*.out "$tmp"/*.err; do echo "== $f"; cat "$f"; done
  exit 1
}

# Long enough for a slow start of the windows; ended with SIGTERM (which
# finishes the match and its recording) once the seat is back.
"$sim" serve --port 0 --bind 127.0.0.1 --wait 20 --frames 100000 --record "$tmp/match.rec" \
  player none none >"$tmp/serve.out" 2>"$tmp/serve.err" &
serve_pid=$!
for _ in $(seq 100); do
  grep -q '^listening on ' "$tmp/serve.out" && break
  sleep 0.1
done
port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$tmp/serve.out")
code=$(sed -n 's/^seat 1 code=\([0-9a-f]*\)$/\1/p' "$tmp/serve.out")
[ -n "$port" ] && [ -n "$code" ] || fail "serve printed no port or code"

"$game" --join "127.0.0.1:$port" --code "$code" >"$tmp/first.out" 2>"$tmp/first.err" &
window=$!
"$tool" wait $window || fail "the first window did not show"
for _ in $(seq 300); do
  grep -q 'seat 1: joined' "$tmp/serve.err" && break
  sleep 0.1
done
grep -q 'seat 1: joined' "$tmp/serve.err" || fail "the first window took no seat"
kill -9 $window
wait $window 2>/dev/null
sleep 1.2  # the seat's holder has gone quiet: a new program with its code takes over

"$game" --join "127.0.0.1:$port" --code "$code" >"$tmp/again.out" 2>"$tmp/again.err" &
window=$!
for _ in $(seq 300); do
  grep -q 'seat 1: rejoined' "$tmp/serve.err" && break
  sleep 0.1
done
sleep 0.5  # a few frames with the seat back
kill -TERM "$serve_pid"
wait "$serve_pid" || fail "serve exited with $?"
serve_pid=
kill $window 2>/dev/null
wait $window 2>/dev/null
window=
grep -q '^peer 1 name="[^"]*" status=rejoined ' "$tmp/serve.out" || fail "the seat was not taken again"
"$sim" check "$tmp/match.rec" >/dev/null || fail "the recording does not check"
echo "ok"
