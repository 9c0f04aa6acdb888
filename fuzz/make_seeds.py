#!/usr/bin/env python3
"""Writes the seed inputs of fuzz_frames and fuzz_pairs into corpus/TARGET/,
in the byte layout that fuzz/table_bytes.h and the targets read, and those of
fuzz_wire in the network messages' layout (game/net/wire.h). Run it again
after changing that layout."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def u32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def small_float(v):  # multiples of 5 from -200 to 1075
    return bytes([v // 5 + 40, 0])


NAN, INF, NINF, FMAX = bytes([0]), bytes([2]), bytes([3]), bytes([4])


def small_int(v):  # -32 to 215
    return bytes([v + 40])


INT_MIN, INT_MAX, RAID_MARKER = bytes([0]), bytes([1]), bytes([3])
VERBS = ["idtiza", "idti", "atakovat", "stroit", "chinit", "idle", "", "stroit 0", "IDTI", "idtiza "]


def order(verb, *numbers):  # numbers as small decimals 0..255
    selector = 3 | (len(numbers) << 3)
    out = bytes([selector, VERBS.index(verb)])
    for n in numbers:
        out += bytes([0, n])
    return out


def empty_text():
    return bytes([0])


def idle_text():
    return bytes([1])


def header(seed=1, boxes=7, scenario=True, full=False, panel=(485, 447), mouse=(200, 200),
           camera=(small_float(0), small_float(0)), cursor=(0, 0), selected=-1,
           purses=(0, 0, 0), ticks=0, actions=()):
    flags = boxes | (8 if scenario else 0) | (16 if full else 0)
    out = u32(seed) + bytes([flags])
    out += bytes([2]) + u32(panel[0]) + bytes([2]) + u32(panel[1])
    out += bytes([2]) + u32(mouse[0]) + bytes([2]) + u32(mouse[1])
    out += camera[0] + camera[1]
    out += small_int(cursor[0]) + small_int(cursor[1]) + small_int(selected)
    for p in purses:
        out += bytes([2]) + u32(p)
    out += u32(ticks)
    out += bytes([len(actions)])
    for frame, what, a, b in actions:
        out += bytes([frame, what]) + small_int(a) + small_int(b)
    return out


def slot(index, x, y, hp, max_hp, order_text, next_order, progress, plan, owner, kind, gold):
    return (struct.pack(">H", index) + x + y + hp + max_hp + order_text + next_order +
            progress + plan + owner + kind + gold)


def write(target, seeds):
    out = os.path.join(CORPUS, target)
    os.makedirs(out, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(out, name), "wb") as file:
            file.write(data)


def pairs_header(scenario=True, full=False, purses=(0, 0, 0)):
    out = bytes([(8 if scenario else 0) | (16 if full else 0)])
    for p in purses:
        out += bytes([2]) + u32(p)
    return out


def u64(v):
    return struct.pack("<Q", v & 0xFFFFFFFFFFFFFFFF)


def text(s):
    data = s.encode()
    return u32(len(data)) + data


def wire_seeds():
    order = u32(3) + text("idti 400,400")
    return {
        "hello": bytes([1]) + u32(1) + u64(0x1234) + bytes([0]) + text("0123456789abcdef") +
        text("gatherer"),
        "welcome": bytes([2, 1]) + u32(1) + u32(10000) + u32(10) + u32(100) + u32(10000),
        "refuse": bytes([3, 1]) + text("another version") + u32(1) + u64(7),
        "inputs": bytes([4]) + u32(2) + order + u32(4) + text("idle"),
        "frame": bytes([5]) + u64(20) + u32(2) + bytes([0, 1]) + order + bytes([1, 1, 0, 1]) +
        u32(1) + text("slot 5 is not a live entity of side 2"),
        "sync": bytes([6]) + u64(210) + u64(0xe0e38c329dd434e6),
        "chunk": bytes([8]) + u64(30) + u32(0) + u32(1) + text("# kragmoor save 1\n"),
        "report": bytes([9]) + u64(210) + bytes([1]) +
        text("desync: frame 210 side 2: slot 3 gold: referee 10, peer 17\n") + text("/home/ann/games"),
        "end": bytes([10]) + u64(3000) + u64(5) + text("places 1 2 3\n"),
        "notice": bytes([12, 2, 0]),
        "ping": bytes([11]) + u64(123456) + bytes([1]),
        "roster": bytes([13]) + bytes([3, 2, 1, 0]) + u32(35) + text("Ann") +
        bytes([0, 3, 0, 0]) + u32(0) + text("") + bytes([3, 2, 0, 1]) + u32(0) + text("Bo") +
        bytes([1, 0, 0, 0xFE]) + u32(2) + bytes([0]),
        "name": bytes([14]) + text("gatherer"),
    }


def main():
    f = small_float
    i = small_int
    seeds = {
        # The initial scenario, all three computer players, a resting mouse.
        "scenario": header(purses=(200, 0, 40)),
        # Clicks: select slot 3, send it to a cell, build a peasant, list refreshes.
        "clicks": header(boxes=0, mouse=(180, 180), actions=[(1, 0, 0, 0), (2, 0, 1, 0),
                                                             (3, 2, 0, 0), (5, 0, 3, 1),
                                                             (6, 1, 40, 200), (7, 0, 2, 0)]),
        # Empty tables: a walker, two attackers of different sides and a builder.
        "orders": header(boxes=0, scenario=False, purses=(30, 30, 0)) +
        slot(0, f(100), f(100), f(100), f(100), order("idti", 150, 120), empty_text(), i(0), i(0),
             i(0), i(-1), i(0)) +
        slot(1, f(200), f(100), f(100), f(100), order("atakovat", 2), empty_text(), i(0), i(0),
             i(1), i(-1), i(0)) +
        slot(2, f(250), f(100), f(100), f(100), order("atakovat", 1), empty_text(), i(0), i(0),
             i(2), i(-1), i(0)) +
        slot(3, f(400), f(400), f(200), f(200), order("stroit", 1, 200, 200), idle_text(), i(0),
             i(10), i(0), i(0), i(0)),
        # Edge values: NaN and infinite positions, maxHp and plan 0, owner 7.
        "edges": header(boxes=7, scenario=True, camera=(INF, NAN), mouse=(-5, 100000),
                        selected=4) +
        slot(4, NAN, INF, FMAX, f(0), order("stroit", 1, 0, 0), order("idtiza", 255), i(-32),
             i(0), i(7), i(3), INT_MAX) +
        slot(9, NINF, f(25), f(5), NAN, order("atakovat", 255), empty_text(), INT_MIN, i(-1),
             i(1), i(-1), INT_MIN),
        # A full table: every free slot filled with builders, so no build finds a slot.
        "full": header(boxes=7, scenario=True, full=True, purses=(500, 500, 500)) +
        slot(20, f(100), f(100), f(50), f(100), order("stroit", 1, 100, 100), empty_text(), i(0),
             i(1), i(1), i(0), i(0)),
    }
    write("fuzz_frames", seeds)
    write("fuzz_wire", wire_seeds())

    # Pair passes: carriers at bases of their side (repair and purse), takers
    # at a mine from below and above its slot, enemies in range, peasants on
    # one spot, a NaN and an infinite position among them.
    write("fuzz_pairs", {
        "scenario": pairs_header(purses=(10, 20, 30)),
        "contacts": pairs_header(scenario=False) +
        slot(0, f(100), f(100), f(150), f(200), idle_text(), order("idtiza", 5), i(0), i(0),
             i(1), i(0), i(0)) +
        slot(1, f(110), f(100), f(100), f(100), idle_text(), order("idtiza", 5), i(0), i(0),
             i(1), i(-1), i(30)) +
        slot(2, f(100), f(130), f(100), f(100), idle_text(), idle_text(), RAID_MARKER, i(0),
             i(1), i(-1), i(0)) +
        slot(3, f(100), f(130), f(100), f(100), idle_text(), idle_text(), i(0), i(0),
             i(2), i(-1), i(5)) +
        slot(5, f(120), f(140), f(100), f(100), empty_text(), empty_text(), i(0), i(0),
             i(0), i(-5), i(200)) +
        slot(9, f(140), f(150), f(100), f(100), empty_text(), empty_text(), i(0), i(0),
             i(2), i(-1), i(0)) +
        slot(10, NAN, f(100), f(100), f(100), empty_text(), empty_text(), i(0), i(0),
             i(1), i(-1), i(0)) +
        slot(11, f(100), INF, f(100), f(100), empty_text(), empty_text(), i(0), i(0),
             i(2), i(-1), i(0)),
        "full": pairs_header(full=True, purses=(100, 100, 100)) +
        slot(30, f(300), f(300), f(100), f(100), order("stroit", 1, 0, 0), empty_text(), i(0),
             i(1), i(1), i(-1), i(10)),
    })


if __name__ == "__main__":
    main()
