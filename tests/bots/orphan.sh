#!/bin/sh
# Leaves a process in a session of its own that holds its standard output
# open and writes its pid to the file given as argument, answers start, then
# exits at its first turn: the bot is `exited` at once, and the process it
# left is ended with it.
setsid sh -c 'echo $$ >"$0"; exec sleep 60' "$1" &
while [ ! -s "$1" ]; do sleep 0.01; done
read -r line
echo '{"type":"ready","name":"orphan"}'
read -r line
exit 3
