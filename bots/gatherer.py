#!/usr/bin/env python3
"""gatherer: a first bot for KRAGMOOR's arena. It only mines and trains.

Every idle peasant walks to the nearest gold mine (the game then carries the
gold home and back on its own), and every idle main base trains a peasant.

A bot talks to the arena with one JSON object per line: it reads messages
on standard input and answers on standard output; kragmoor_bot.py, beside
this file, does that part. Anything it prints on standard error shows up in
the arena's standard error as "side N: ...", which is the place for
debugging output. Run it with

    kragmoor-sim arena "python3 bots/gatherer.py" ai:1 ai:1

Only Python's standard library is used.
"""

import sys

import kragmoor_bot as kb


def orders_for_turn(start: kb.Start, turn: kb.Turn) -> list[kb.Order]:
    """The orders for one turn: a list of order objects."""
    entities = [e for e in turn.entities if e.placed]
    mines = [e for e in entities if e.kind == "mine" and e.gold >= 10]
    my_peasants = [e for e in entities if e.owner == start.side and e.kind == "peasant"]
    my_bases = [e for e in entities if e.owner == start.side and e.kind == "base"]
    orders = []

    # Every idle peasant to the nearest mine that still holds gold.
    for peasant in my_peasants:
        if peasant.idle and mines:
            mine = min(mines, key=lambda m: m.distance(peasant))
            orders.append(kb.walk(peasant.slot, mine.slot))

    # Every idle base trains a peasant. The new peasant appears at x + 25,
    # y + 25 of the point given, so this puts it on the base itself; the
    # game pushes the two apart. A build waits while the purse is empty.
    for base in my_bases:
        if base.idle:
            orders.append(kb.build_peasant(base.slot, round(base.x) - 25, round(base.y) - 25))
    return orders


def started(start: kb.Start) -> None:
    print(f"playing side {start.side}, a turn every {start.turn} frames", file=sys.stderr)


def ended(end: kb.End) -> None:
    print("places:", end.places, file=sys.stderr)


if __name__ == "__main__":
    kb.run(orders_for_turn, name="gatherer", on_start=started, on_end=ended)
