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
with "orders", one line each; kragmoor_bot.py, beside this file, does that
part. Debug output goes to standard error.
Only Python's standard library is used.
"""

import sys

import kragmoor_bot as kb

BASE_COST = 100       # gold a main base takes; we wait for a little more
BASE_AT_GOLD = 150
RAID_EVERY = 100      # turns between two raids
RAID_MIN_PEASANTS = 6 # no raid before we have this many peasants
RAID_SHARE = 3        # one peasant in three goes


def nearest(things, to):
    return min(things, key=lambda t: t.distance(to)) if things else None


class Raider:
    def __init__(self):
        self.turns = 0

    def orders(self, start: kb.Start, turn: kb.Turn) -> list[kb.Order]:
        self.turns += 1
        side = start.side
        entities = [e for e in turn.entities if e.placed]
        peasants = [e for e in entities if e.owner == side and e.kind == "peasant"]
        bases = [e for e in entities if e.owner == side and e.kind == "base"]
        mines = [e for e in entities if e.kind == "mine" and e.gold >= 10]
        enemies = [e for e in entities if e.owner != side and e.kind in ("peasant", "base")]
        gold = turn.gold[side]
        orders = []
        busy = set()  # slots that already got an order this turn

        def order(o):
            orders.append(o)
            busy.add(o["slot"])

        # A new base: the build order of a base starts with "stroit 0,".
        building = any(p.order.startswith("stroit 0,") for p in peasants)
        if gold >= BASE_AT_GOLD and not building and peasants:
            builder = next((p for p in peasants if p.idle), peasants[0])
            # The base appears at x + 25, y + 25 of the point given: one
            # cell beyond the builder, as the computer player builds.
            order(kb.build_base(builder.slot, round(builder.x) + 25, round(builder.y) + 25))

        # A raid now and then: the nearest enemy for each raider.
        if self.turns % RAID_EVERY == 0 and len(peasants) >= RAID_MIN_PEASANTS and enemies:
            raiders = [p for p in peasants if p.slot not in busy][::RAID_SHARE]
            for p in raiders:
                order(kb.attack(p.slot, nearest(enemies, p).slot))
            print(f"turn {self.turns}: {len(raiders)} raiders out", file=sys.stderr)

        # The rest as gatherer: idle peasants mine, idle bases train.
        for p in peasants:
            if p.slot not in busy and p.idle and mines:
                order(kb.walk(p.slot, nearest(mines, p).slot))
        for b in bases:
            if b.idle:
                order(kb.build_peasant(b.slot, round(b.x) - 25, round(b.y) - 25))
        return orders


if __name__ == "__main__":
    kb.run(Raider().orders, name="raider")
