#!/bin/sh
# Answers start, then writes a line longer than the 1 MiB limit (bad-output).
read -r line
echo '{"type":"ready","name":"overlong"}'
read -r line
head -c 1100000 /dev/zero | tr '\0' 'x'
cat >/dev/null
