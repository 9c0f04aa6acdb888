#!/bin/sh
# The arena with misbehaving and well-behaved bots: each way a bot can fail
# ends in the status the contract names, with the match played to its end;
# a bot cannot order another side's entity; a recorded arena match passes
# check with no bot running and opens as a replay; two runs with the same bots print the same;
# every message of a match is one the JSON Schema of the messages allows.
# Usage: arena_test.sh SIM BOTS_DIR MINIMAL_BOT CASE
set -u
sim=$1
bots=$2
minimal=$3
case_name=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
frames=2000
overtime=200
fail() { echo "FAIL: $*"; cat "$tmp/out" "$tmp/err" 2>/dev/null; exit 1; }

# Plays $frames frames (2000 unless set), the pool $overtime ms (200 unless
# set), with the sides given; the arena must exit with the
# status given first (0, or 6 when a bot failed).
play() {
  want=$1
  shift
  "$sim" arena --frames "$frames" --budget 20 --overtime "$overtime" "$@" >"$tmp/out" 2>"$tmp/err"
  got=$?
  [ "$got" = "$want" ] || fail "arena exited with $got, not $want"
  grep -q "^frames=$frames live=" "$tmp/out" || fail "the match did not run to its end"
}

# The bot in seat 1 fails with the status and details given (how and at
# which turn it ended), the computer player in seat 3; the places follow.
expect_status() {
  play 6 "sh $bots/$1.sh" none ai:2
  grep -q "^bot 1 name=\"$1\" status=$2 " "$tmp/out" || fail "$1: not status=$2"
  grep -q '^bot 3 name="" status=ai$' "$tmp/out" || fail "seat 3 is not the computer player"
  sed -n 4p "$tmp/out" | grep -q '^places [1-3] [1-3] [1-3]$' || fail "no places line after the bots"
}

case $case_name in
  late) expect_status late 'timeout frame=[0-9]*' ;;
  chatty)
    play 6 "sh $bots/chatty.sh" none ai:2
    grep -q '^bot 1 name="chatty" status=timeout ' "$tmp/out" || fail "not status=timeout"
    grep -q '^side 1: chatter$' "$tmp/err" || fail "standard error is not passed on" ;;
  exits) expect_status exits 'exited frame=0 exit=3' ;;
  closes) expect_status closes 'exited frame=0 signal=KILL' ;;
  garbage)
    # Refused whole and counted, but no verdict: the bot played to the end.
    play 0 "sh $bots/garbage.sh" none ai:2
    grep -q '^bot 1 name="garbage" status=ok orders=0 refused=200 bad_lines=200 ' "$tmp/out" ||
      fail "each of the 200 answers is not refused whole and counted" ;;
  overlong) expect_status overlong 'bad-output frame=0 line="xxxxxxxxxx*" orders=0' ;;
  no-start)
    play 6 "sh $bots/silent.sh" none none
    grep -q '^bot 1 name="" status=no-start frame=0 ' "$tmp/out" || fail "not status=no-start" ;;
  other-side)
    # Two of its three orders each turn are refused, and the refused ones
    # change nothing: the recording holds only the accepted order.
    play 0 --record "$tmp/rec" "sh $bots/thief.sh" none none
    grep -q '^bot 1 name="thief _quoted_" status=ok orders=200 refused=400 ' "$tmp/out" ||
      fail "the orders to side 2's base and to the mine are not refused"
    grep -q '^side 1: started$' "$tmp/err" || fail "standard error is not passed on"
    grep -q '^order 5 "idti 300,-20"$' "$tmp/rec" || fail "the accepted order is not recorded"
    ! grep -q '^order [02] ' "$tmp/rec" || fail "a refused order reached the game" ;;
  record)
    play 0 --record "$tmp/rec" "$minimal" "sh $bots/thief.sh" ai:1
    "$sim" check "$tmp/rec" 2>"$tmp/err" || fail "check of the recording: $(cat "$tmp/err")"
    tail -n 1 "$tmp/out" | sed 's/.*hash=/#> hash /' >"$tmp/last"
    grep '^#> hash ' "$tmp/rec" | tail -n 1 | cmp -s - "$tmp/last" ||
      fail "the recording ends on another hash"
    [ "$(tail -n 1 "$tmp/rec")" = "# end of recording" ] || fail "the recording is not finished"
    grep -c '^# bot [12] status=ok$' "$tmp/rec" | grep -qx 2 || fail "not one line for each ended bot"
    # It opens as a replay: the summary's last lines are the match's own.
    "$sim" summary "$tmp/rec" >"$tmp/csv" 2>"$tmp/err" || fail "summary: $(cat "$tmp/err")"
    tail -n 3 "$tmp/csv" | awk -F, '{print "side " $2 " gold=" $3 " peasants=" $5 " bases=" $6}' \
      >"$tmp/sides"
    grep '^side ' "$tmp/out" | cmp -s - "$tmp/sides" || fail "the summary ends on other figures"
    grep -q '^places [1-3] [1-3] [1-3]$' "$tmp/out" || fail "no places line" ;;
  determinism)
    play 0 "python3 $bots/../../bots/gatherer.py" "$minimal" ai
    mv "$tmp/out" "$tmp/first"
    play 0 "python3 $bots/../../bots/gatherer.py" "$minimal" ai
    # late_ms is time measured on this machine, the one field that may differ.
    sed 's/ late_ms=[0-9]*//' "$tmp/first" >"$tmp/first.plain"
    sed 's/ late_ms=[0-9]*//' "$tmp/out" >"$tmp/out.plain"
    cmp -s "$tmp/first.plain" "$tmp/out.plain" || fail "two runs differ" ;;
  flooded)
    # Never reads its input: the turn messages pile up to the cap within
    # 20000 frames, and the bot is ended.
    frames=20000
    expect_status deaf 'flooded frame=[0-9]*' ;;
  schema)
    # Every message of a match, both ways, is one the JSON Schema allows.
    frames=300
    play 0 "tee $tmp/in | python3 $bots/../../bots/gatherer.py | tee $tmp/answers" none none
    python3 "$bots/../schema_check.py" "$bots/../../docs/bot-messages.schema.json" \
      "$tmp/in" "$tmp/answers" >"$tmp/err" 2>&1 || fail "schema: $(cat "$tmp/err")" ;;
  line-limit)
    # A line of exactly 1 MiB is an answer; one byte more ends the bot.
    overtime=20000
    play 0 "sh $bots/exact.sh 0" none none
    grep -q '^bot 1 name="exact" status=ok ' "$tmp/out" || fail "a 1 MiB line is refused"
    play 6 "sh $bots/exact.sh 1" none none
    grep -q '^bot 1 name="exact" status=bad-output ' "$tmp/out" || fail "a longer line is taken" ;;
  error-cap)
    play 0 "sh $bots/refused.sh" none none
    grep -q '^bot 1 name="refused" status=ok orders=0 refused=150 ' "$tmp/out" || fail "not 150 refused"
    grep '^side 1: \[' "$tmp/err" | grep -o '"order [0-9]*: ' | wc -l | grep -qx 99 ||
      fail "not 99 texts for single orders"
    grep -q '"51 more orders refused"\]}$' "$tmp/err" || fail "no text counting the rest" ;;
  orphan)
    # It exits while a process it left in a session of its own holds its
    # output: exited at once (not after its overtime), and that process ended.
    "$sim" arena --frames 2000 --overtime 60000 "sh $bots/orphan.sh $tmp/pid" none none \
      >"$tmp/out" 2>"$tmp/err"
    [ $? = 6 ] || fail "the arena did not exit with 6"
    grep -q '^bot 1 name="orphan" status=exited ' "$tmp/out" || fail "not exited"
    ! kill -0 "$(cat "$tmp/pid")" 2>/dev/null || fail "the process the bot left still runs" ;;
  stderr-stuck)
    # Its standard error goes to a pipe nobody reads, then to one whose
    # reader has gone: the match is played out all the same, no SIGPIPE.
    mkfifo "$tmp/fifo"
    sleep 30 <"$tmp/fifo" &
    holder=$!
    "$sim" arena --frames 2000 --budget 20 --overtime 200 "sh $bots/chatty.sh" none none \
      >"$tmp/out" 2>"$tmp/fifo"
    got=$?
    kill "$holder"
    [ "$got" = 6 ] || fail "with a stuck reader the arena exited with $got"
    grep -q '^bot 1 name="chatty" status=timeout ' "$tmp/out" || fail "stuck reader: not timeout"
    { "$sim" arena --frames 2000 --budget 20 --overtime 200 "sh $bots/chatty.sh" none none \
      2>&1 >"$tmp/out"; echo $? >"$tmp/rc"; } | true
    [ "$(cat "$tmp/rc")" = 6 ] || fail "with the reader gone the arena exited with $(cat "$tmp/rc")"
    grep -q '^frames=2000 live=' "$tmp/out" || fail "reader gone: the match did not end" ;;
  by-hand)
    # A side played by hand (its commands from a file), with the transcript:
    # every message both ways with its frame, the typed order recorded.
    frames=300
    printf 'all\nwalk 5 1\nwalk 5\n\nquit\n' >"$tmp/typed"
    "$sim" arena --frames 300 --turn 100 --budget 5000 --transcript "$tmp/tr" --record "$tmp/rec" \
      "python3 $bots/../../bots/by_hand.py --input $tmp/typed" none none >"$tmp/out" 2>"$tmp/err" ||
      fail "the arena failed"
    grep -q '^bot 1 name="by hand" status=ok orders=1 refused=0 ' "$tmp/out" || fail "not one order"
    grep -q '^order 5 "idtiza 1"$' "$tmp/rec" || fail "the typed order is not recorded"
    grep -q '^side 1: .*commands: go S' "$tmp/err" || fail "a bad command is not answered with the usage"
    sed 's/: .*//' "$tmp/tr" | tr '\n' ' ' >"$tmp/heads"
    [ "$(cat "$tmp/heads")" = "frame 0 to side 1 frame 0 from side 1 frame 0 to side 1 \
frame 0 from side 1 frame 100 to side 1 frame 100 from side 1 frame 200 to side 1 \
frame 200 from side 1 frame 300 to side 1 " ] || fail "transcript: $(cat "$tmp/heads")"
    grep -q '^frame 300 to side 1: {"type":"end",' "$tmp/tr" || fail "no end message"
    "$sim" arena --frames 10 --transcript /nonexistent/dir/tr none none none >/dev/null 2>"$tmp/err"
    [ $? = 1 ] || fail "an unwritable transcript is not a failure"
    grep -q 'cannot write the transcript' "$tmp/err" || fail "no reason for the transcript" ;;
  start)
    # From a saved full field: the bots see its 300 entities, and the
    # recording, which starts there, passes check.
    frames=50
    play 0 --start "$bots/../../bench/jammed_seed3_230000.save" --transcript "$tmp/tr" \
      --record "$tmp/rec" "$minimal" "$minimal" none
    grep -m 1 '^frame 0 to side 1: {"type":"turn"' "$tmp/tr" | grep -o '"slot":' | wc -l |
      grep -qx 300 || fail "the first turn does not hold the saved 300 entities"
    "$sim" check "$tmp/rec" 2>"$tmp/err" || fail "check of the recording: $(cat "$tmp/err")" ;;
  *) fail "unknown case $case_name" ;;
esac
echo "ok: $case_name"
