#!/bin/sh
# Answers start at once, then every turn a little later than the budget,
# until the overtime pool is spent: the arena ends it (timeout).
read -r line
echo '{"type":"ready","name":"late"}'
while read -r line; do
  sleep 0.05
  echo '{"type":"orders","orders":[]}'
done
