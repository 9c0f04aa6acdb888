#!/bin/sh
# Answers its first turn with 150 orders for the gold mine in slot 0, all
# refused, and writes the next turn's errors on standard error: at most 100
# texts, the last counting those left out.
orders='{"slot":0,"do":"idle"}'
i=1
while [ $i -lt 150 ]; do orders="$orders,{\"slot\":0,\"do\":\"idle\"}"; i=$((i + 1)); done
read -r line
echo '{"type":"ready","name":"refused"}'
read -r line
echo "{\"type\":\"orders\",\"orders\":[$orders]}"
read -r line
echo "${line#*\"errors\":}" >&2
while :; do
  echo '{"type":"orders","orders":[]}'
  read -r line || exit 0
done
