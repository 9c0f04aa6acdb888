# Answers start, then never reads again: it writes answers, each with more
# orders than the last, all for the gold mine in slot 0 and so all refused.
# The turn messages, which carry each answer's errors, pile up unread
# (ended as flooded).
import sys

sys.stdin.readline()
print('{"type":"ready","name":"growing"}', flush=True)
order = '{"slot":0,"do":"idle"},'
count = 0
while True:
    count = min(count + 200, 1000000 // len(order))
    sys.stdout.write('{"type":"orders","orders":[' + (order * count)[:-1] + ']}\n')
    sys.stdout.flush()
