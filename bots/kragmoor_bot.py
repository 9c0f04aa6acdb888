"""kragmoor_bot: a small typed client for KRAGMOOR's bot protocol.

It reads the arena's messages (docs/bots.md; their JSON Schema is
docs/bot-messages.schema.json) into dataclasses, makes the order objects,
and runs a bot's loop: `run(turn_function)` answers `start` with `ready`,
every `turn` with the orders `turn_function(start, turn)` returns, and
returns at `end`. Orders of the last answer that the arena refused are
printed on standard error, which the arena shows as "side N: ...".

    import kragmoor_bot as kb

    def orders(start: kb.Start, turn: kb.Turn) -> list[kb.Order]:
        return [kb.idle(e.slot) for e in turn.own(start.side) if e.kind == "peasant"]

    kb.run(orders, name="lazy")

Only Python's standard library is used.
"""

from __future__ import annotations

import json
import math
import sys
from dataclasses import dataclass, field
from typing import Any, Callable, Optional, Union

Order = dict[str, Any]  # one ORDER object, as go(), walk() ... make them


@dataclass(frozen=True)
class Start:
    side: int  # our owner value, 0 to 2 (the arena's output counts 1 to 3)
    turn: int  # frames per turn
    budget_ms: int  # for one answer
    frames: int  # of the match; 0: no limit (the window)
    seed: int  # the game's random seed: it only changes the computer player


@dataclass(frozen=True)
class Entity:
    slot: int
    kind: Union[str, int]  # "mine", "peasant", "base", or an odd kind's number
    owner: int  # a mine's is 0, like side 0's: tell mines by kind
    x: Optional[float]  # None when not finite
    y: Optional[float]
    hp: Optional[float]
    max_hp: Optional[float]
    gold: int
    order: str
    next_order: str
    progress: int
    plan: int

    @property
    def placed(self) -> bool:
        """Whether the position is known (finite)."""
        return self.x is not None and self.y is not None

    @property
    def idle(self) -> bool:
        """No order, or "idle": both do nothing."""
        return self.order in ("", "idle")

    def distance(self, other: "Entity") -> float:
        return math.hypot(self.x - other.x, self.y - other.y)


@dataclass(frozen=True)
class Changed:
    slot: int
    order: str  # the order the game's rules gave it since the last turn


@dataclass(frozen=True)
class Turn:
    frame: int  # frames run so far
    gold: list[int]  # each side's purse, side 0 first
    entities: list[Entity]  # every live entity, in slot order
    changed: list[Changed] = field(default_factory=list)
    errors: list[str] = field(default_factory=list)  # why orders were refused

    def own(self, side: int) -> list[Entity]:
        """The side's entities, mines (owner 0 too) left out."""
        return [e for e in self.entities if e.owner == side and e.kind != "mine"]


@dataclass(frozen=True)
class End:
    frame: int
    places: list[int]  # side 0 first; 1 is best, equal sides share a place


def _entity(d: dict) -> Entity:
    return Entity(d["slot"], d["kind"], d["owner"], d["x"], d["y"], d["hp"], d["maxHp"],
                  d["gold"], d["order"], d["nextOrder"], d["progress"], d["plan"])


def parse(line: str) -> Union[Start, Turn, End]:
    """One message line of the arena."""
    m = json.loads(line)
    kind = m["type"]
    if kind == "start":
        return Start(m["side"], m["turn"], m["budget_ms"], m["frames"], m.get("seed", 1))
    if kind == "turn":
        return Turn(m["frame"], m["gold"], [_entity(e) for e in m["entities"]],
                    [Changed(c["slot"], c["order"]) for c in m.get("changed", [])],
                    m["errors"])
    if kind == "end":
        return End(m["frame"], m["places"])
    raise ValueError(f"unknown message type {kind!r}")


# The orders, one function each (X, Y, N integers).
def go(slot: int, x: int, y: int) -> Order:
    return {"slot": slot, "do": "go", "x": x, "y": y}


def walk(slot: int, target: int) -> Order:
    return {"slot": slot, "do": "walk", "target": target}


def attack(slot: int, target: int) -> Order:
    return {"slot": slot, "do": "attack", "target": target}


def build_peasant(slot: int, x: int, y: int) -> Order:
    """A base trains a peasant, placed at x + 25, y + 25."""
    return {"slot": slot, "do": "build", "what": "peasant", "x": x, "y": y}


def build_base(slot: int, x: int, y: int) -> Order:
    """A peasant builds a main base at x + 25, y + 25, without walking there."""
    return {"slot": slot, "do": "build", "what": "base", "x": x, "y": y}


def idle(slot: int) -> Order:
    return {"slot": slot, "do": "idle"}


def send(message: dict) -> None:
    """One message as one line, flushed: the arena waits for the whole line."""
    sys.stdout.write(json.dumps(message) + "\n")
    sys.stdout.flush()


def run(turn_function: Callable[[Start, Turn], list[Order]], name: str = "bot",
        on_start: Optional[Callable[[Start], None]] = None,
        on_end: Optional[Callable[[End], None]] = None) -> None:
    """The bot's loop, from `start` to `end` (or the end of its input)."""
    start = None
    for line in sys.stdin:
        message = parse(line)
        if isinstance(message, Start):
            start = message
            if on_start:
                on_start(start)
            send({"type": "ready", "name": name})
        elif isinstance(message, Turn):
            for error in message.errors:
                print("refused:", error, file=sys.stderr)
            send({"type": "orders", "orders": turn_function(start, message)})
        else:
            if on_end:
                on_end(message)
            return
