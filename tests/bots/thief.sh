#!/bin/sh
# Plays side 1 (owner 0): every turn orders side 2's base in slot 2 and the
# gold mine in slot 0, both refused, and its own peasant in slot 5, accepted.
# Says something on standard error, which the arena passes on.
read -r line
echo '{"type":"ready","name":"thief \"quoted\""}'
echo "started" >&2
while read -r line; do
  case "$line" in
    *'"type":"end"'*) exit 0 ;;
  esac
  echo '{"type":"orders","orders":[{"slot":2,"do":"idle"},{"slot":0,"do":"go","x":1,"y":1},{"slot":5,"do":"go","x":300,"y":-20}]}'
done
