#!/usr/bin/env python3
"""Packing quality of the py3dbp module on a fixed set of seeded orders.

Every order is packed the way the planner's single-box-type script does it:
a fresh Packer with one bin of the box type gets all remaining pieces, packs
with the default options, and the pieces that bin left unfitted go round
again, until nothing is left or a pass places nothing. The number of boxes
used is compared with the volume lower bound (total piece volume over the
box volume, rounded up), per order and summed over all orders. The volume
bound is weak for orders with bulky pieces, of which only one or two fit
across a box, so a second bound from those pieces is shown beside it
("bulky"); neither is the optimum, which lies at or above both.

Run: /usr/bin/python3 bench/py3dbp_quality.py [-q]
"""

import math
import os
import random
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "python"))

from py3dbp import Bin, Item, Packer  # noqa: E402

BOX_TYPES = (
    ("masterBox", 28.0, 29.0, 45.0),
    ("cube40", 40.0, 40.0, 40.0),
    ("long", 60.0, 30.0, 25.0),
    ("flat", 50.0, 20.0, 40.0),
)
INSTANCES = 40
SEED = 20240605
GOAL = 1.25


def make_order(rng, box):
    """50 to 150 pieces of a few dozen products, each ordered 1 to 6 times.

    Shapes are cubes, flat pieces, long pieces and general boxes; each
    product is small, medium or large against the box's mean side.
    Sizes are rounded to 0.1 and capped so that every piece fits the box
    in some orientation.
    """
    _, width, height, depth = box
    cap = sorted((width, height, depth))
    side = (width * height * depth) ** (1.0 / 3.0)
    count = rng.randint(50, 150)
    pieces = []
    product = 1000
    while len(pieces) < count:
        scale = side * rng.choice((0.25, 0.4, 0.6))
        shape = rng.random()
        if shape < 0.2:
            s = rng.uniform(0.5, 1.0) * scale
            dims = [s, s, s]
        elif shape < 0.45:
            dims = [rng.uniform(0.7, 1.6) * scale, rng.uniform(0.1, 0.3) * scale,
                    rng.uniform(0.7, 1.6) * scale]
        elif shape < 0.65:
            dims = [rng.uniform(0.15, 0.4) * scale,
                    rng.uniform(0.15, 0.4) * scale,
                    rng.uniform(1.2, 2.5) * scale]
        else:
            dims = [rng.uniform(0.3, 1.0) * scale for _ in range(3)]
        rng.shuffle(dims)
        dims = sorted(max(0.5, round(v, 1)) for v in dims)
        dims = [min(v, c) for v, c in zip(dims, cap)]
        rng.shuffle(dims)
        kind = rng.choice(("unit", "pack"))
        weight = round(rng.uniform(0.05, 2.0), 3)
        for _ in range(min(rng.randint(1, 6), count - len(pieces))):
            pieces.append(("%d;%s" % (product, kind), dims[0], dims[1],
                           dims[2], weight))
        product += 1
    return pieces


def column_bound(box, pieces):
    """A second lower bound on the boxes needed, from the bulky pieces.

    Let the box's sides be L1 <= L2 <= L3. A piece whose shortest side
    exceeds L2 / 2 is longer than half the box along both shorter axes in
    any orientation, so two such pieces in one box can only sit one behind
    the other along the L3 axis, each taking at least its shortest side of
    it. Packing these shortest sides into boxes of length L3 is a
    one-dimensional problem whose own bounds apply: the total length, and
    for every k the pieces longer than L3 / (k + 1), at most k to a box.
    """
    _, width, height, depth = box
    _, l2, l3 = sorted((width, height, depth))
    sizes = [min(p[1:4]) for p in pieces if min(p[1:4]) > l2 / 2]
    if not sizes:
        return 0
    bound = math.ceil(sum(sizes) / l3 - 1e-9)
    for k in range(1, len(sizes) + 1):
        longer = sum(1 for s in sizes if s > l3 / (k + 1))
        bound = max(bound, -(-longer // k))
    return bound


def boxes_used(box, pieces):
    """Boxes opened by the single-type loop, and the pieces it left over."""
    name, width, height, depth = box
    remaining = list(pieces)
    used = 0
    while remaining:
        packer = Packer()
        packer.add_bin(Bin(name, width, height, depth, 4000.0))
        for key, x, y, z, weight in remaining:
            packer.add_item(Item(key, x, y, z, weight))
        packer.pack()
        left = packer.bins[0].unfitted_items
        if len(left) == len(remaining):
            break
        used += 1
        # Pieces with the same key are interchangeable, so count them back.
        wanted = {}
        for item in left:
            key = item.string().split("(", 1)[0]
            wanted[key] = wanted.get(key, 0) + 1
        rest = []
        for piece in remaining:
            if wanted.get(piece[0], 0) > 0:
                wanted[piece[0]] -= 1
                rest.append(piece)
        remaining = rest
    return used, remaining


def main():
    quiet = "-q" in sys.argv[1:]
    rng = random.Random(SEED)
    total_used = 0
    total_bound = 0
    total_best = 0
    worst = 0.0
    started = time.perf_counter()
    if not quiet:
        print("%4s %-10s %6s %6s %6s %6s %6s %7s" % (
            "#", "box", "pieces", "boxes", "bound", "ratio", "bulky", "fill"))
    for index in range(INSTANCES):
        box = BOX_TYPES[index % len(BOX_TYPES)]
        pieces = make_order(rng, box)
        box_volume = box[1] * box[2] * box[3]
        volume = sum(x * y * z for _, x, y, z, _ in pieces)
        bound = math.ceil(volume / box_volume - 1e-9)
        bulky = column_bound(box, pieces)
        used, left = boxes_used(box, pieces)
        if left:
            print("instance %d: %d pieces left over" % (index, len(left)))
            return 1
        total_used += used
        total_bound += bound
        total_best += max(bound, bulky)
        worst = max(worst, used / bound)
        if not quiet:
            print("%4d %-10s %6d %6d %6d %6.2f %6d %6.1f%%" % (
                index, box[0], len(pieces), used, bound, used / bound,
                bulky, 100.0 * volume / (used * box_volume)))
    elapsed = time.perf_counter() - started
    ratio = total_used / total_bound
    print("total: %d boxes for a volume bound of %d: ratio %.3f (goal <= "
          "%.2f: %s), worst instance %.2f" % (
              total_used, total_bound, ratio, GOAL,
              "met" if ratio <= GOAL else "missed", worst))
    print("       against the larger of the volume and bulky-piece bounds "
          "(%d): ratio %.3f; %.2f s" % (total_best, total_used / total_best,
                                        elapsed))
    return 0


if __name__ == "__main__":
    sys.exit(main())
