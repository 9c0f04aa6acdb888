#!/bin/sh
# Tournaments: a bot that fails is counted as failed, not as playing, and the
# tournament exits 6; entrant names that would break a row are refused; a
# long name keeps its row whole; --record-dir writes a recording per match;
# Ctrl+C prints the table of the matches done.
# Usage: tournament_test.sh SIM
set -u
sim=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; cat "$tmp/out" "$tmp/err" 2>/dev/null; exit 1; }
run() { "$sim" tournament --frames 200 --seeds 1-2 --jobs 2 "$@" >"$tmp/out" 2>"$tmp/err"; }

# Every bot fails to start: nobody played, nobody is ranked, exit 6.
run a=false b=false c=false
[ $? -eq 6 ] || fail "all bots failing: not exit status 6"
grep -q '^match 12 seed=2 .* status=no-start,no-start,no-start$' "$tmp/out" || fail "match lines"
for e in a b c; do
  grep -qx -- "- $e 0 0 - - - 12" "$tmp/out" || fail "$e is not shown unranked with 12 failures"
done

# One failing bot among computer players: the others are placed among
# themselves, and the failing entrant has only failures.
run "broken=sh -c 'exit 3'" x=ai y=ai:1
[ $? -eq 6 ] || fail "one bot failing: not exit status 6"
grep -qx -- '- broken 0 0 - - - 12' "$tmp/out" || fail "broken is ranked"
[ "$(grep -c '^[12] [xy] 12 ' "$tmp/out")" -eq 2 ] || fail "x and y do not count their 12 matches"

# Names: 40 bytes of printable text are taken and keep their row whole;
# longer ones, control characters, spaces and commas are bad usage.
long=$(printf '%040d' 0 | tr 0 n)
run "$long=ai" b=ai:2 || fail "a 40-byte name: exit $?"
grep -q "^[12] $long 18 [0-9]* [0-9.]* [0-9.]* [0-9.]* 0\$" "$tmp/out" || fail "the long name's row"
for name in "${long}n" "$(printf 'a\nb')" "a b" "a,b" "a\\b" "$(printf 'a\033b')"; do
  run "$name=ai"
  [ $? -eq 2 ] || fail "name '$name' is not bad usage"
  grep -q '^kragmoor-sim: bad entrant name ' "$tmp/err" || fail "name '$name': $(cat "$tmp/err")"
done

# --record-dir: one recording per match, named by its number, seed and
# seats (a name's unsafe bytes made '_'), each named on its line, each one
# that check verifies and that opens as a replay (summary).
mkdir "$tmp/rec"
run --record-dir "$tmp/rec" a=ai "b/../x=ai:1" || fail "--record-dir: exit $?"
[ "$(ls "$tmp/rec" | wc -l)" -eq 12 ] || fail "not 12 recordings: $(ls "$tmp/rec")"
grep -q '^match 3 seed=1 sides=a,b/../x,b/../x .* recording=match3-seed1-a-b_.._x-b_.._x.sim$' \
  "$tmp/out" || fail "match 3 does not name its recording"
for f in "$tmp"/rec/*.sim; do
  grep -q " recording=$(basename "$f")\$" "$tmp/out" || fail "$f is named on no line"
  "$sim" check "$f" || fail "check $f"
  "$sim" summary "$f" >"$tmp/csv" || fail "summary $f"
  [ "$(wc -l <"$tmp/csv")" -eq 10 ] || fail "summary of $f: $(cat "$tmp/csv")"
done
"$sim" tournament --record-dir "$tmp/none" a=ai 2>"$tmp/err"
[ $? -eq 2 ] || fail "a missing --record-dir is not bad usage"

# Ctrl+C once the first match is done: the table of what finished, 130.
env --default-signal=INT "$sim" tournament --frames 20000 --seeds 1-1000 --jobs 1 a=ai b=ai:1 \
  >"$tmp/out" 2>"$tmp/err" &
pid=$!
for _ in $(seq 600); do grep -q '^match 1 ' "$tmp/out" && break; sleep 0.1; done
kill -INT $pid
wait $pid
[ $? -eq 130 ] || fail "interrupted: not exit status 130"
grep -q '^rank name matches firsts mean_place mu sigma failed$' "$tmp/out" || fail "no table"
grep -q '^kragmoor-sim: interrupted (SIGINT) after [1-9][0-9]* of 6000 matches$' "$tmp/err" ||
  fail "no interruption line"
echo ok
