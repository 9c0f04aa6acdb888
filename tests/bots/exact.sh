#!/bin/sh
# Answers start, then its first turn with an orders message of exactly
# 1,048,576 bytes plus EXTRA (the first argument) before its line end, then
# empty answers: EXTRA 0 is within the limit (ok), 1 is over it (bad-output).
read -r line
echo '{"type":"ready","name":"exact"}'
read -r line
head='{"type":"orders","orders":[],"pad":"'
tail='"}'
pad=$((1048576 + $1 - ${#head} - ${#tail}))
printf '%s' "$head"
head -c "$pad" /dev/zero | tr '\0' x
printf '%s\n' "$tail"
while read -r line; do echo '{"type":"orders","orders":[]}'; done
