#!/bin/sh
# Answers start, then every turn with a line that is not an orders message:
# each answer is refused whole and the bot plays on (ok, bad_lines).
read -r line
echo '{"type":"ready","name":"garbage"}'
while read -r line; do
  echo 'hello, arena'
done
