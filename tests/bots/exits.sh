#!/bin/sh
# Answers start, then exits at its first turn without a word, status 3 (exited).
read -r line
echo '{"type":"ready","name":"exits"}'
read -r line
exit 3
