#!/bin/sh
# Network play on loopback: serve with two player seats and the computer
# player, two join --bot with the example gatherer; every joiner ends on the
# referee's hash and the referee's recording passes check, whatever random
# datagrams reach its port. A joiner killed with kill -9 joins again with
# its code and ends on the same hash, status rejoined. A wrong code and a
# taken seat are refused with exit 2.
# Usage: net_test.sh SIM BOTS_DIR CASE   (CASE: play, rejoin, refused)
set -u
sim=$1
bots=$2
case_name=$3
tmp=$(mktemp -d)
serve_pid=
trap '[ -n "$serve_pid" ] && kill "$serve_pid" 2>/dev/null; rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*"
  for f in "$tmp"/*.out "$tmp"/*.err; do echo "== $f"; cat "$f"; done
  exit 1
}
bot="python3 $bots/gatherer.py"

# Starts serve with the options given, sides player player and $side3 (the
# computer player unless set); sets port, code1 and code2 from its first lines.
serve() {
  "$sim" serve --port 0 --bind 127.0.0.1 --wait 30 "$@" player player "${side3:-ai}" \
    >"$tmp/serve.out" 2>"$tmp/serve.err" &
  serve_pid=$!
  for _ in $(seq 100); do
    grep -q '^listening on ' "$tmp/serve.out" && break
    sleep 0.1
  done
  port=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$tmp/serve.out")
  code1=$(sed -n 's/^seat 1 code=\([0-9a-f]*\)$/\1/p' "$tmp/serve.out")
  code2=$(sed -n 's/^seat 2 code=\([0-9a-f]*\)$/\1/p' "$tmp/serve.out")
  [ -n "$port" ] && [ ${#code1} -ge 16 ] && [ ${#code2} -ge 16 ] || fail "serve printed no port or codes"
}

# The last line's hash of a file of match lines.
hash_of() { sed -n 's/^frames=[0-9]* live=[0-9]* hash=\([0-9a-f]*\)$/\1/p' "$1"; }

# Waits for serve to end and checks that it exits 0 with a hash.
serve_ends() {
  wait "$serve_pid" || fail "serve exited with $?"
  serve_pid=
  referee=$(hash_of "$tmp/serve.out")
  [ -n "$referee" ] || fail "serve printed no hash"
}

# Waits for the join of pid $1 (output $2.out) and checks exit 0 on the referee's hash.
join_ends() {
  wait "$1" || fail "join $2 exited with $?"
  [ "$(hash_of "$tmp/$2.out")" = "$referee" ] || fail "join $2 did not end on the referee's hash"
}

case $case_name in
  play)
    side3=$bot serve --frames 1200 --record "$tmp/match.rec"
    "$sim" join --code "$code1" --bot "$bot" "127.0.0.1:$port" >"$tmp/one.out" 2>"$tmp/one.err" &
    one=$!
    "$sim" join --code "$code2" --bot "$bot" "127.0.0.1:$port" >"$tmp/two.out" 2>"$tmp/two.err" &
    two=$!
    sleep 3
    # Random datagrams at the referee's port change nothing.
    python3 -c "
import os, socket
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
for n in range(300):
    s.sendto(os.urandom(1 + n % 200), ('127.0.0.1', $port))
"
    serve_ends
    join_ends "$one" one
    join_ends "$two" two
    grep -q '^peer 1 name="gatherer" status=ok orders=[1-9][0-9]* refused=0$' "$tmp/serve.out" ||
      fail "seat 1's peer is not ok with its orders applied"
    grep -q '^bot 3 name="gatherer" status=ok ' "$tmp/serve.out" || fail "seat 3's bot is not ok"
    grep -q '^# bot 3 status=ok$' "$tmp/match.rec" || fail "the recording does not say how bot 3 ended"
    tail -n +4 "$tmp/serve.out" | cmp -s - "$tmp/one.out" ||
      fail "join printed other match lines than serve"
    "$sim" check "$tmp/match.rec" 2>"$tmp/check.err" || fail "the referee's recording fails check" ;;
  rejoin)
    serve --frames 1200
    "$sim" join --code "$code1" --bot "$bot" "127.0.0.1:$port" >"$tmp/one.out" 2>"$tmp/one.err" &
    one=$!
    "$sim" join --code "$code2" --bot "$bot" "127.0.0.1:$port" >"$tmp/two.out" 2>"$tmp/two.err" &
    two=$!
    sleep 4
    kill -9 "$two"
    wait "$two" 2>/dev/null
    sleep 1.5
    "$sim" join --code "$code2" --bot "$bot" "127.0.0.1:$port" >"$tmp/again.out" \
      2>"$tmp/again.err" &
    again=$!
    serve_ends
    join_ends "$one" one
    join_ends "$again" again
    grep -q '^peer 2 name="gatherer" status=rejoined ' "$tmp/serve.out" || fail "seat 2 is not rejoined" ;;
  refused)
    serve --frames 100000
    "$sim" join --code 0123456789abcdef "127.0.0.1:$port" >"$tmp/wrong.out" 2>"$tmp/wrong.err"
    [ $? = 2 ] || fail "a wrong code is not refused with exit 2"
    grep -q 'no seat has that code' "$tmp/wrong.err" || fail "the refusal does not say why"
    "$sim" join --code "$code1" "127.0.0.1:$port" >"$tmp/one.out" 2>"$tmp/one.err" &
    one=$!
    sleep 1
    "$sim" join --code "$code1" "127.0.0.1:$port" >"$tmp/taken.out" 2>"$tmp/taken.err"
    [ $? = 2 ] || fail "a taken seat is not refused with exit 2"
    grep -q 'seat 1 is taken' "$tmp/taken.err" || fail "the refusal does not say the seat is taken"
    kill "$one" ;;
  *) fail "unknown case $case_name" ;;
esac
exit 0
