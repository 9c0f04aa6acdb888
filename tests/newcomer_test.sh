#!/bin/sh
# The scripted newcomer (bots/newcomer.py) plays a short arena match to its
# end without a refused order and trains peasants; given a turn with 30
# peasants it sends every one of them to attack, and goes on attacking with
# those left. scripts/newcomer measures it.
# Usage: newcomer_test.sh SIM BOT
set -u
sim=$1
bot=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; cat "$tmp/out" "$tmp/err" 2>/dev/null; exit 1; }

# Python can take seconds to start on a loaded machine: a bot that missed
# the arena's start limit plays again.
for try in 1 2 3; do
  "$sim" arena --frames 3000 --budget 2000 --overtime 60000 "python3 $bot" ai:1 ai:1 \
    >"$tmp/out" 2>"$tmp/err" || fail "arena exited with $?"
  grep -q ' status=no-start ' "$tmp/out" || break
done
grep -q '^bot 1 name="newcomer" status=ok orders=[1-9][0-9]* refused=0 ' "$tmp/out" ||
  fail "the newcomer did not play the match through with its orders accepted"
peasants=$(sed -n 's/^side 1 gold=[0-9]* peasants=\([0-9]*\) .*/\1/p' "$tmp/out")
[ "${peasants:-0}" -ge 3 ] || fail "the newcomer trained no peasants"

# Side 0 with 30 peasants at a mine, one enemy base: 30 attack orders.
entities='{"slot":0,"kind":"mine","owner":0,"x":25,"y":25,"hp":100,"maxHp":100,"gold":99000,"order":"","nextOrder":"","progress":0,"plan":0}'
entities="$entities"',{"slot":2,"kind":"base","owner":1,"x":275,"y":275,"hp":200,"maxHp":200,"gold":0,"order":"idle","nextOrder":"","progress":0,"plan":0}'
slot=10
while [ $slot -lt 40 ]; do
  entities="$entities"',{"slot":'$slot',"kind":"peasant","owner":0,"x":60,"y":60,"hp":100,"maxHp":100,"gold":0,"order":"idtiza 0","nextOrder":"idtiza 0","progress":0,"plan":0}'
  slot=$((slot + 1))
done
# Then, 20 of them lost, the other 10 idle: they attack on, never back to mining.
few=$(printf '%s' "$entities" | sed 's/,{"slot":20,.*//; s/"order":"idtiza 0","nextOrder":"idtiza 0"/"order":"idle","nextOrder":""/g')
printf '%s\n' '{"type":"start","side":0,"turn":10,"budget_ms":100,"frames":100}' \
  '{"type":"turn","frame":0,"gold":[0,0,0],"entities":['"$entities"'],"errors":[]}' \
  '{"type":"turn","frame":10,"gold":[0,0,0],"entities":['"$few"'],"errors":[]}' \
  '{"type":"end","frame":100,"places":[1,2,3]}' | python3 "$bot" >"$tmp/out" 2>"$tmp/err" ||
  fail "the bot exited with $?"
attacks=$(sed -n 2p "$tmp/out" | grep -o '"do": "attack", "target": 2' | wc -l)
[ "$attacks" -eq 30 ] || fail "$attacks of 30 peasants attack"
attacks=$(sed -n 3p "$tmp/out" | grep -o '"do": "attack", "target": 2' | wc -l)
[ "$attacks" -eq 10 ] || fail "$attacks of the 10 left attack on"
