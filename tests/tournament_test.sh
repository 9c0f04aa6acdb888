#!/bin/sh
# Tournaments: a bot that fails is counted as failed, not as playing, and the
# tournament exits 6; entrant names that would break a row are refused; a
# long name keeps its row whole; --record-dir writes a recording per match;
# Ctrl+C prints the table of the matches done; a plan run with GNU parallel
# ranks as the tournament itself does, and results of another plan are
# refused; bots alone count distinct matches.
# Usage: tournament_test.sh SIM MINIMAL_BOT
set -u
sim=$1
minimal=$2
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

# The plan's commands run by GNU parallel (kragmoor-sim on the PATH), their
# outputs in two files, give the tournament's own lines and table.
mkdir "$tmp/bin" && ln -s "$sim" "$tmp/bin/kragmoor-sim"
entrants="x=ai y=ai:1 z=$minimal"
"$sim" tournament --frames 200 --seeds 1-2 $entrants >"$tmp/direct" 2>/dev/null || fail "direct run"
"$sim" tournament --plan --frames 200 --seeds 1-2 $entrants >"$tmp/plan" || fail "--plan"
[ "$(wc -l <"$tmp/plan")" -eq 12 ] || fail "not one command per match"
PATH="$tmp/bin:$PATH" parallel -j 2 <"$tmp/plan" >"$tmp/all" 2>/dev/null || fail "parallel"
lines=$(wc -l <"$tmp/all")
head -n $((lines / 2)) "$tmp/all" >"$tmp/r1"
tail -n $((lines - lines / 2)) "$tmp/all" >"$tmp/r2"
"$sim" tournament --results "$tmp/r2" --results "$tmp/r1" --frames 200 --seeds 1-2 $entrants \
  >"$tmp/out" 2>"$tmp/err" || fail "--results: exit $?"
cmp -s "$tmp/direct" "$tmp/out" || fail "the collected table differs: $(diff "$tmp/direct" "$tmp/out")"
# Another plan's results (other seeds) are refused; a missing match is a failure.
"$sim" tournament --results "$tmp/r1" --seeds 3-4 $entrants >"$tmp/out" 2>"$tmp/err"
[ $? -eq 2 ] || fail "another plan's results: not exit 2"
grep -q 'a tag of another plan' "$tmp/err" || fail "no reason for another plan's results"
"$sim" tournament --results "$tmp/r1" --frames 200 --seeds 1-2 $entrants >"$tmp/out" 2>"$tmp/err"
[ $? -eq 6 ] || fail "missing matches: not exit 6"
grep -q 'no output of it among the results' "$tmp/err" || fail "no reason for a missing match"

# Bots alone: the seed changes nothing, 6 seatings on 3 seeds are 6 matches.
"$sim" tournament --frames 200 --seeds 1-3 m="$minimal" n=none >"$tmp/out" 2>/dev/null
grep -qx 'distinct matches 6 of 18' "$tmp/out" || fail "distinct matches: $(tail -n 1 "$tmp/out")"
echo ok
