#!/usr/bin/env python3
"""newcomer: plays KRAGMOOR's arena as a player new to the game would.

It trains peasants at every base, sends each idle peasant to mine, nearest
mines first but spread out so that no mine gets everybody, and once it has
30 peasants it sends every one of them to attack the nearest enemy base.
It never builds a base. scripts/newcomer measures the computer player's
levels against it: level 1 should lose to it, level 3 beat it.

    kragmoor-sim arena "python3 bots/newcomer.py" ai:1 ai:1

Only Python's standard library is used; the protocol is in docs/bots.md.
"""

import json
import math
import sys

ATTACK_AT = 30      # peasants it waits for before it attacks with all of them
CROWDING = 10.0     # field units a mine's road counts longer per peasant already on it
MINE_STOCK_MIN = 10  # a mine gives nothing below this


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

        def needs_order(peasant):
            # Idle, or walking to something dead. One that carries gold and
            # heads for a mine (sent there after a fight, say) would stand
            # at the mine for ever: a full peasant takes nothing there.
            target = target_of(peasant)
            if target is None:
                return not peasant["order"].startswith("stroit")
            return peasant["gold"] > 0 and target["kind"] == "mine"

        if len(peasants) >= ATTACK_AT and enemies:
            # Straight at the nearest enemy base, as a new player goes for
            # the enemy's home; the fights on the way come by themselves.
            enemy_bases = [e for e in enemies if e["kind"] == "base"] or enemies
            for p in peasants:
                if not fighting(p):
                    target = min(enemy_bases, key=lambda e: distance(e, p))
                    orders.append({"slot": p["slot"], "do": "attack", "target": target["slot"]})
        elif mines:
            # Peasants deliver to the side's lowest-slot base, so the road
            # to weigh runs from there (or from the peasant, with no base).
            on_mine = {m["slot"]: 0 for m in mines}
            for p in peasants:
                for text in (p["order"], p["nextOrder"]):
                    slot = named_slot(text)
                    if slot in on_mine:
                        on_mine[slot] += 1
                        break
            for p in peasants:
                if not needs_order(p):
                    continue
                if p["gold"] > 0 and bases:
                    # Home first: the delivery then sends it back to its mine.
                    orders.append({"slot": p["slot"], "do": "walk", "target": bases[0]["slot"]})
                    continue
                home = bases[0] if bases else p
                mine = min(mines, key=lambda m: distance(m, home) + CROWDING * on_mine[m["slot"]])
                on_mine[mine["slot"]] += 1
                orders.append({"slot": p["slot"], "do": "walk", "target": mine["slot"]})

        # A base cannot walk: one left chasing an enemy out of reach
        # ("idtiza N") is as good as idle, and trains again.
        for b in bases:
            if b["order"] in ("", "idle") or b["order"].startswith("idtiza "):
                orders.append({"slot": b["slot"], "do": "build", "what": "peasant",
                               "x": round(b["x"]) - 25, "y": round(b["y"]) - 25})
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
