#!/usr/bin/env python3
"""by_hand: play one side of an arena match yourself, one turn at a time.

The arena runs this as the side's bot; it shows each turn on your terminal
and gives the arena the orders you type. Give the arena a budget that leaves
you time to think:

    kragmoor-sim arena --turn 100 --budget 600000 --overtime 0 \\
        "python3 bots/by_hand.py" ai:1 none

At each turn it lists your entities and reads commands, one a line, until
an empty line (or `.`) ends the turn:

    go SLOT X Y          walk to the point
    walk SLOT TARGET     walk to an entity
    attack SLOT TARGET
    peasant SLOT X Y     a base trains a peasant
    base SLOT X Y        a peasant builds a main base
    idle SLOT
    all                  every entity on the field, not only yours
    quit                 no more questions: empty answers to the end

`--input FILE` reads the commands from FILE instead of the terminal (at its
end every later turn is answered with no orders), for scripted tests.
"""

from __future__ import annotations

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kragmoor_bot as kb  # noqa: E402

USAGE = "commands: go S X Y | walk S T | attack S T | peasant S X Y | base S X Y | idle S | all | quit"


class Hand:
    def __init__(self, commands, screen):
        self.commands = commands  # None once they ended
        self.screen = screen

    def say(self, text: str) -> None:
        self.screen.write(text + "\n")
        self.screen.flush()

    def show(self, entities: list[kb.Entity]) -> None:
        for e in entities:
            where = f"({e.x:.0f}, {e.y:.0f})" if e.placed else "(nowhere)"
            hp = f"{e.hp:.0f}/{e.max_hp:.0f}" if e.hp is not None and e.max_hp is not None else "?"
            whose = "      " if e.kind == "mine" else f"side {e.owner + 1}"
            self.say(f"  {e.slot:3} {str(e.kind):8} {whose} {where:14} hp {hp:9} "
                     f"gold {e.gold:4}  {e.order!r}")

    def order(self, words: list[str]) -> kb.Order | None:
        makers = {"go": (kb.go, 3), "walk": (kb.walk, 2), "attack": (kb.attack, 2),
                  "peasant": (kb.build_peasant, 3), "base": (kb.build_base, 3),
                  "idle": (kb.idle, 1)}
        maker = makers.get(words[0])
        if maker is None or len(words) != maker[1] + 1:
            return None
        try:
            return maker[0](*(int(w) for w in words[1:]))
        except ValueError:
            return None

    def turn(self, start: kb.Start, turn: kb.Turn) -> list[kb.Order]:
        if self.commands is None:
            return []
        self.say(f"-- frame {turn.frame}, side {start.side + 1}, gold {turn.gold[start.side]}")
        for c in turn.changed:
            self.say(f"  the rules changed {c.slot}'s order to {c.order!r}")
        self.show(turn.own(start.side))
        orders: list[kb.Order] = []
        while True:
            self.screen.write("> ")
            self.screen.flush()
            line = self.commands.readline()
            if not line:  # the input ended: answer the rest with nothing
                self.commands = None
                break
            words = line.split()
            if not words or words == ["."]:
                break
            if words == ["quit"]:
                self.commands = None
                break
            if words == ["all"]:
                self.show(turn.entities)
                continue
            order = self.order(words)
            if order is None:
                self.say(USAGE)
                continue
            orders.append(order)
        return orders


def main() -> None:
    args = sys.argv[1:]
    if args[:1] == ["--input"] and len(args) == 2:
        commands = open(args[1], encoding="utf-8")
        screen = sys.stderr
    elif not args:
        commands = open("/dev/tty", encoding="utf-8")
        screen = open("/dev/tty", "w", encoding="utf-8")
    else:
        sys.exit("usage: by_hand.py [--input FILE]")
    hand = Hand(commands, screen)
    kb.run(hand.turn, name="by hand")


if __name__ == "__main__":
    main()
