#!/usr/bin/env python3
"""newcomer: plays KRAGMOOR's arena as a player new to the game would.

It trains peasants at every base and sends its idle peasants to the gold
mine nearest home as one group, spread over the nearest mines with room as
the window's right-click on a mine spreads a group. Once it has had 30
peasants it sends every one, and every one trained after, to attack the
enemy base nearest home, for good. It never builds a base, never pulls back
and never picks its fights. scripts/newcomer measures the computer player's
levels against it: level 1 should lose to it, level 3 beat it.

    kragmoor-sim arena "python3 bots/newcomer.py" ai:1 ai:1

Only Python's standard library is used; the protocol is in docs/bots.md.
"""

import json
import math
import sys

ATTACK_AT = 30         # peasants it waits for before it attacks with all of them
PEASANTS_PER_MINE = 6  # what the window's right-click on a mine sends to each mine
MINE_STOCK_MIN = 10    # a mine gives nothing below this


def send(message):
    sys.stdout.write(json.dumps(message) + "\n")
    sys.stdout.flush()  # the arena waits for the whole line


def distance(a, b):
    return math.hypot(a["x"] - b["x"], a["y"] - b["y"])


def named_slot(text):
    """The entity a walk or attack order names, or None for any other order."""
    words = text.split(" ")
    if len(words) >= 2 and words[0] in ("idtiza", "atakovat") and words[1].isdigit():
        return int(words[1])
    return None


class Newcomer:
    def __init__(self, side):
        self.side = side
        self.attacking = False  # once it has had 30 peasants, everyone attacks for good

    def orders(self, turn):
        entities = [e for e in turn["entities"] if e["x"] is not None and e["y"] is not None]
        by_slot = {e["slot"]: e for e in entities}
        own = [e for e in entities if e["owner"] == self.side]
        peasants = [e for e in own if e["kind"] == "peasant"]
        bases = [e for e in own if e["kind"] == "base"]
        mines = [e for e in entities if e["kind"] == "mine" and e["gold"] >= MINE_STOCK_MIN]
        enemies = [e for e in entities
                   if e["owner"] != self.side and e["kind"] in ("peasant", "base")]
        orders = []

        def target_of(peasant):
            slot = named_slot(peasant["order"])
            return by_slot.get(slot) if slot is not None else None

        def fighting(peasant):
            target = target_of(peasant)
            return target is not None and target["owner"] != self.side and target["kind"] != "mine"

        def idle(peasant):
            # Standing, or walking to something that has gone: what the
            # idle-peasant key would find.
            return target_of(peasant) is None and not peasant["order"].startswith("stroit")

        if len(peasants) >= ATTACK_AT:
            self.attacking = True
        if self.attacking and enemies and peasants:
            # Everybody selected and right-clicked on the enemy base nearest
            # home, as a new player goes for the enemy's home; the fights on
            # the way come by themselves.
            enemy_bases = [e for e in enemies if e["kind"] == "base"] or enemies
            home = bases[0] if bases else peasants[0]
            target = min(enemy_bases, key=lambda e: distance(e, home))
            for p in peasants:
                if not fighting(p):
                    orders.append({"slot": p["slot"], "do": "attack", "target": target["slot"]})
        elif mines:
            waiting = [p for p in peasants if idle(p)]
            if waiting:
                # The idle ones selected and right-clicked on the mine
                # nearest home: the window spreads such a group over the
                # nearest mines with room and leaves the rest standing.
                home = bases[0] if bases else waiting[0]
                first = min(mines, key=lambda m: distance(m, home))
                orders.extend(mine_orders(peasants, waiting, mines, first))

        # A base cannot walk: one left chasing an enemy out of reach
        # ("idtiza N") is as good as idle, and trains again.
        for b in bases:
            if b["order"] in ("", "idle") or b["order"].startswith("idtiza "):
                orders.append({"slot": b["slot"], "do": "build", "what": "peasant",
                               "x": round(b["x"]) - 25, "y": round(b["y"]) - 25})
        return orders


def mine_orders(peasants, group, mines, first):
    """The walks the window's right-click on mine `first` gives `group`:
    first that mine, then the others nearest it, each taking the group's
    peasants nearest it up to PEASANTS_PER_MINE less the side's others
    already working it; those beyond every mine's room get nothing."""
    in_group = {p["slot"] for p in group}
    order = sorted(mines, key=lambda m: (m is not first, distance(m, first)))
    left = list(group)
    orders = []
    for mine in order:
        if not left:
            break
        working = sum(1 for p in peasants if p["slot"] not in in_group and mine["slot"] in
                      (named_slot(p["order"]), named_slot(p["nextOrder"])))
        room = PEASANTS_PER_MINE - working
        if room <= 0:
            continue
        left.sort(key=lambda p: distance(p, mine))
        for p in left[:room]:
            orders.append({"slot": p["slot"], "do": "walk", "target": mine["slot"]})
        left = left[room:]
    return orders


def main():
    bot = None
    for line in sys.stdin:
        message = json.loads(line)
        if message["type"] == "start":
            bot = Newcomer(message["side"])
            send({"type": "ready", "name": "newcomer"})
        elif message["type"] == "turn":
            for error in message["errors"]:
                print("refused:", error, file=sys.stderr)
            send({"type": "orders", "orders": bot.orders(message)})
        elif message["type"] == "end":
            return


if __name__ == "__main__":
    main()
