#!/bin/sh
# The arena with misbehaving and well-behaved bots: each way a bot can fail
# ends in the status the contract names, with the match played to its end;
# a bot cannot order another side's entity; a recorded arena match passes
# check with no bot running; two runs with the same bots print the same.
# Usage: arena_test.sh SIM BOTS_DIR MINIMAL_BOT CASE
set -u
sim=$1
bots=$2
minimal=$3
case_name=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; cat "$tmp/out" "$tmp/err" 2>/dev/null; exit 1; }

# Plays 2000 frames with the bot in seat 1 and the computer player in seat 3.
play() {
  "$sim" arena --frames 2000 --budget 20 --overtime 200 "$@" >"$tmp/out" 2>"$tmp/err" ||
    fail "arena exited with $?"
  grep -q '^frames=2000 live=' "$tmp/out" || fail "the match did not run to its end"
}

expect_status() {
  play "sh $bots/$1.sh" none ai:2
  grep -q "^bot 1 name=\"$1\" status=$2 " "$tmp/out" || fail "$1: not status=$2"
  grep -q '^bot 3 name="" status=ai$' "$tmp/out" || fail "seat 3 is not the computer player"
}

case $case_name in
  late) expect_status late timeout ;;
  chatty)
    play "sh $bots/chatty.sh" none ai:2
    grep -q '^bot 1 name="chatty" status=timeout ' "$tmp/out" || fail "not status=timeout"
    grep -q '^side 1: chatter$' "$tmp/err" || fail "standard error is not passed on" ;;
  exits) expect_status exits exited ;;
  closes) expect_status closes exited ;;
  garbage)
    expect_status garbage bad-output
    grep -q ' refused=200 ' "$tmp/out" || fail "each of the 200 answers is refused whole" ;;
  overlong) expect_status overlong bad-output ;;
  no-start)
    play "sh $bots/silent.sh" none none
    grep -q '^bot 1 name="" status=no-start ' "$tmp/out" || fail "not status=no-start" ;;
  other-side)
    # Two of its three orders each turn are refused, and the refused ones
    # change nothing: the recording holds only the accepted order.
    play --record "$tmp/rec" "sh $bots/thief.sh" none none
    grep -q '^bot 1 name="thief _quoted_" status=ok orders=200 refused=400 ' "$tmp/out" ||
      fail "the orders to side 2's base and to the mine are not refused"
    grep -q '^side 1: started$' "$tmp/err" || fail "standard error is not passed on"
    grep -q '^order 5 "idti 300,-20"$' "$tmp/rec" || fail "the accepted order is not recorded"
    ! grep -q '^order [02] ' "$tmp/rec" || fail "a refused order reached the game" ;;
  record)
    play --record "$tmp/rec" "$minimal" "sh $bots/thief.sh" ai:1
    "$sim" check "$tmp/rec" 2>"$tmp/err" || fail "check of the recording: $(cat "$tmp/err")"
    tail -n 1 "$tmp/out" | sed 's/.*hash=/#> hash /' >"$tmp/last"
    grep '^#> hash ' "$tmp/rec" | tail -n 1 | cmp -s - "$tmp/last" ||
      fail "the recording ends on another hash"
    [ "$(tail -n 1 "$tmp/rec")" = "# end of recording" ] || fail "the recording is not finished" ;;
  determinism)
    play "python3 $bots/../../bots/gatherer.py" "$minimal" ai
    mv "$tmp/out" "$tmp/first"
    play "python3 $bots/../../bots/gatherer.py" "$minimal" ai
    cmp -s "$tmp/first" "$tmp/out" || fail "two runs differ" ;;
  *) fail "unknown case $case_name" ;;
esac
echo "ok: $case_name"
