#!/usr/bin/env python3
"""raider: a second bot for KRAGMOOR's arena. It mines, trains, builds new
main bases and sends raiding parties at its enemies.

It does what gatherer.py does (idle peasants to the nearest mine, idle
bases train peasants), and on top of that:
  * with 150 gold or more and no base under way, a peasant builds a base;
  * once it has enough peasants, every so often a party of them attacks
    the nearest enemy entity, one order per raider.

The protocol in short (docs/bots.md has it all): the arena writes one JSON
object per line on our standard input -- "start", then a "turn" every few
frames, then "end" -- and we answer "start" with "ready" and every "turn"
with "orders", one line each. Debug output goes to standard error.
Only Python's standard library is used.
"""

import json
import math
import sys

BASE_COST = 100       # gold a main base takes; we wait for a little more
BASE_AT_GOLD = 150
RAID_EVERY = 100      # turns between two raids
RAID_MIN_PEASANTS = 6 # no raid before we have this many peasants
RAID_SHARE = 3        # one peasant in three goes


def send(message):
    sys.stdout.write(json.dumps(message) + "\n")
    sys.stdout.flush()  # the arena waits for the whole line


def distance(a, b):
    return math.hypot(a["x"] - b["x"], a["y"] - b["y"])


def is_idle(entity):
    return entity["order"] in ("", "idle")


def nearest(things, to):
    return min(things, key=lambda t: distance(t, to)) if things else None


class Raider:
    def __init__(self, side):
        self.side = side
        self.turns = 0

    def orders(self, turn):
        self.turns += 1
        entities = [e for e in turn["entities"] if e["x"] is not None and e["y"] is not None]
        mine = lambda e: e["owner"] == self.side
        peasants = [e for e in entities if mine(e) and e["kind"] == "peasant"]
        bases = [e for e in entities if mine(e) and e["kind"] == "base"]
        mines = [e for e in entities if e["kind"] == "mine" and e["gold"] >= 10]
        enemies = [e for e in entities if not mine(e) and e["kind"] in ("peasant", "base")]
        gold = turn["gold"][self.side]
        orders = []
        busy = set()  # slots that already got an order this turn

        def order(entity, **fields):
            orders.append(dict(slot=entity["slot"], **fields))
            busy.add(entity["slot"])

        # A new base: the build order of a base starts with "stroit 0,".
        building = any(p["order"].startswith("stroit 0,") for p in peasants)
        if gold >= BASE_AT_GOLD and not building and peasants:
            builder = next((p for p in peasants if is_idle(p)), peasants[0])
            # The base appears at x + 25, y + 25 of the point given: one
            # cell beyond the builder, as the computer player builds.
            order(builder, do="build", what="base",
                  x=round(builder["x"]) + 25, y=round(builder["y"]) + 25)

        # A raid now and then: the nearest enemy for each raider.
        if self.turns % RAID_EVERY == 0 and len(peasants) >= RAID_MIN_PEASANTS and enemies:
            raiders = [p for p in peasants if p["slot"] not in busy][::RAID_SHARE]
            for p in raiders:
                order(p, do="attack", target=nearest(enemies, p)["slot"])
            print(f"turn {self.turns}: {len(raiders)} raiders out", file=sys.stderr)

        # The rest as gatherer: idle peasants mine, idle bases train.
        for p in peasants:
            if p["slot"] not in busy and is_idle(p) and mines:
                order(p, do="walk", target=nearest(mines, p)["slot"])
        for b in bases:
            if is_idle(b):
                order(b, do="build", what="peasant",
                      x=round(b["x"]) - 25, y=round(b["y"]) - 25)
        return orders


def main():
    bot = None
    for line in sys.stdin:
        message = json.loads(line)
        if message["type"] == "start":
            bot = Raider(message["side"])
            send({"type": "ready", "name": "raider"})
        elif message["type"] == "turn":
            for error in message["errors"]:
                print("refused:", error, file=sys.stderr)
            send({"type": "orders", "orders": bot.orders(message)})
        elif message["type"] == "end":
            return


if __name__ == "__main__":
    main()
