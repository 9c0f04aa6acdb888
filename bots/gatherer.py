#!/usr/bin/env python3
"""gatherer: a first bot for KRAGMOOR's arena. It only mines and trains.

Every idle peasant walks to the nearest gold mine (the game then carries the
gold home and back on its own), and every idle main base trains a peasant.

A bot talks to the arena with one JSON object per line: it reads messages
on standard input and answers on standard output. Anything it prints on
standard error shows up in the arena's standard error as "side N: ...",
which is the place for debugging output. Run it with

    kragmoor-sim arena "python3 bots/gatherer.py" ai:1 ai:1

Only Python's standard library is used.
"""

import json
import math
import sys


def send(message):
    """Writes one message as one line and flushes it: the arena waits for
    the whole line, and an unflushed answer arrives too late."""
    sys.stdout.write(json.dumps(message) + "\n")
    sys.stdout.flush()


def distance(a, b):
    return math.hypot(a["x"] - b["x"], a["y"] - b["y"])


def is_idle(entity):
    # A fresh entity has an empty order; the computer player would write
    # "idle" into it, we simply treat both the same.
    return entity["order"] in ("", "idle")


def orders_for_turn(turn, side):
    """The orders for one turn: a list of order objects."""
    entities = [e for e in turn["entities"] if e["x"] is not None and e["y"] is not None]
    mines = [e for e in entities if e["kind"] == "mine" and e["gold"] >= 10]
    my_peasants = [e for e in entities if e["owner"] == side and e["kind"] == "peasant"]
    my_bases = [e for e in entities if e["owner"] == side and e["kind"] == "base"]
    orders = []

    # Every idle peasant to the nearest mine that still holds gold.
    for peasant in my_peasants:
        if is_idle(peasant) and mines:
            mine = min(mines, key=lambda m: distance(m, peasant))
            orders.append({"slot": peasant["slot"], "do": "walk", "target": mine["slot"]})

    # Every idle base trains a peasant. The new peasant appears at x + 25,
    # y + 25 of the point given, so this puts it on the base itself; the
    # game pushes the two apart. A build waits while the purse is empty.
    for base in my_bases:
        if is_idle(base):
            orders.append({"slot": base["slot"], "do": "build", "what": "peasant",
                           "x": round(base["x"]) - 25, "y": round(base["y"]) - 25})
    return orders


def main():
    side = None
    for line in sys.stdin:
        message = json.loads(line)
        if message["type"] == "start":
            side = message["side"]  # our owner value, 0 to 2
            print(f"playing side {side}, a turn every {message['turn']} frames",
                  file=sys.stderr)
            send({"type": "ready", "name": "gatherer"})
        elif message["type"] == "turn":
            # Orders the arena refused last turn, and why: worth a look.
            for error in message["errors"]:
                print("refused:", error, file=sys.stderr)
            send({"type": "orders", "orders": orders_for_turn(message, side)})
        elif message["type"] == "end":
            print("places:", message["places"], file=sys.stderr)
            return


if __name__ == "__main__":
    main()
