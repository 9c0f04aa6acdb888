#!/bin/sh
# Answers start, then never answers a turn but writes on standard error
# without end: the arena still ends it when its time is up (timeout).
read -r line
echo '{"type":"ready","name":"chatty"}'
while :; do echo chatter >&2; done
