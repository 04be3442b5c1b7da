"""Tests of the py3dbp packing module."""

import math
import random
import unittest

from py3dbp import Bin, Item, Packer

TOL = 1e-6


def make_packer(bins, items):
    packer = Packer()
    for spec in bins:
        packer.add_bin(Bin(*spec))
    for spec in items:
        packer.add_item(Item(*spec))
    return packer


def box_of(item):
    x, y, z = (float(v) for v in item.position)
    a, b, c = (float(v) for v in item.get_dimension())
    return x, y, z, x + a, y + b, z + c


class Invariants:
    """Checks that hold for every packing, whatever the heuristic."""

    def check_bin(self, bin_):
        boxes = [box_of(item) for item in bin_.items]
        size = (float(bin_.width), float(bin_.height), float(bin_.depth))
        for item, box in zip(bin_.items, boxes):
            self.assertEqual(sorted(float(v) for v in item.get_dimension()),
                             sorted(float(v) for v in (item.width, item.height,
                                                       item.depth)),
                             item.string())
            for axis in range(3):
                self.assertGreaterEqual(box[axis], -TOL, item.string())
                self.assertLessEqual(box[axis + 3], size[axis] + TOL,
                                     (item.string(), bin_.string()))
        for i in range(len(boxes)):
            a = boxes[i]
            for j in range(i + 1, len(boxes)):
                b = boxes[j]
                overlap = all(a[k] < b[k + 3] - TOL and b[k] < a[k + 3] - TOL
                              for k in range(3))
                self.assertFalse(overlap, (bin_.items[i].string(),
                                           bin_.items[j].string()))
        if bin_.items:
            weight = sum(float(item.weight) for item in bin_.items)
            self.assertLessEqual(weight, float(bin_.max_weight) + TOL)

    def check_distributed(self, packer):
        offered = list(packer.items)
        for bin_ in packer.bins:
            self.check_bin(bin_)
            placed = [id(item) for item in bin_.items]
            unfitted = [id(item) for item in bin_.unfitted_items]
            self.assertEqual(len(set(placed)), len(placed))
            self.assertEqual(sorted(placed + unfitted),
                             sorted(id(item) for item in offered),
                             "a bin must be offered exactly what earlier "
                             "bins left")
            offered = bin_.unfitted_items
        if packer.bins:
            left = {id(item) for item in packer.bins[-1].unfitted_items}
            anywhere = {id(item) for b in packer.bins for item in b.items}
            self.assertEqual(left | anywhere, {id(i) for i in packer.items})
            self.assertFalse(left & anywhere)

    def check_each_bin_alone(self, packer):
        everything = sorted(item.name for item in packer.items)
        for bin_ in packer.bins:
            self.check_bin(bin_)
            names = [item.name for item in bin_.items + bin_.unfitted_items]
            self.assertEqual(sorted(names), everything)
        if packer.bins:
            first = packer.bins[0]
            ids = [id(item) for item in first.items + first.unfitted_items]
            self.assertEqual(sorted(ids), sorted(id(i) for i in packer.items))


def random_instance(rng):
    bins = []
    for b in range(rng.randint(1, 4)):
        dims = [rng.choice((rng.randint(5, 40), round(rng.uniform(5, 40), 6)))
                for _ in range(3)]
        limit = rng.choice((1e6, rng.uniform(5, 60)))
        bins.append(("box%d" % b, dims[0], dims[1], dims[2], limit))
    items = []
    for i in range(rng.randint(0, 70)):
        scale = rng.choice((3, 8, 15, 30))
        dims = [round(rng.uniform(0.5, scale), rng.choice((0, 1, 3)))
                or 1 for _ in range(3)]
        items.append(("%d;%s" % (1000 + i % 25, rng.choice(("unit", "pack"))),
                      dims[0], dims[1], dims[2], round(rng.uniform(0, 5), 2)))
    return bins, items


class RandomInstancesTest(Invariants, unittest.TestCase):

    def test_distributed_packings_are_valid(self):
        rng = random.Random(5)
        placed = 0
        for _ in range(120):
            bins, items = random_instance(rng)
            packer = make_packer(bins, items)
            packer.pack(distribute_items=True)
            self.check_distributed(packer)
            placed += sum(len(b.items) for b in packer.bins)
        self.assertGreater(placed, 1000)

    def test_bins_packed_alone_are_valid(self):
        rng = random.Random(6)
        for _ in range(80):
            bins, items = random_instance(rng)
            packer = make_packer(bins, items)
            packer.pack()
            self.check_each_bin_alone(packer)

    def test_packing_is_deterministic_and_repeatable(self):
        rng = random.Random(7)
        for _ in range(20):
            bins, items = random_instance(rng)
            first = make_packer(bins, items)
            first.pack(distribute_items=True)
            second = make_packer(bins, items)
            second.pack(distribute_items=True)
            texts = [[i.string() for i in b.items] for b in first.bins]
            self.assertEqual(texts,
                             [[i.string() for i in b.items]
                              for b in second.bins])
            # Packing the same packer again starts afresh.
            first.pack(distribute_items=True)
            self.assertEqual(texts,
                             [[i.string() for i in b.items]
                              for b in first.bins])


class InterfaceTest(Invariants, unittest.TestCase):
    """What the packing scripts read back."""

    def test_text_forms_begin_with_the_name_and_a_parenthesis(self):
        packer = make_packer([("masterBox", 28.0, 29.0, 45.0, 4000.0)],
                             [("1234;unit", 30.0, 20.0, 10.0, 2.5),
                              ("77;pack", 1, 2, 3, 1)])
        packer.pack()
        bin_ = packer.bins[0]
        self.assertTrue(bin_.string().startswith("masterBox("))
        for item in bin_.items:
            text = item.string()
            key = text.split("(")[0]
            self.assertEqual(key, item.name)
            self.assertEqual(text.split(";")[0], item.name.split(";")[0])
            self.assertEqual(text[text.index(";") + 1:text.index("(")],
                             item.name.split(";")[1])
        self.assertEqual(sorted(i.name for i in bin_.items),
                         ["1234;unit", "77;pack"])

    def test_bins_keep_the_order_they_were_added_in(self):
        names = ["b%d" % i for i in (3, 1, 2, 0)]
        packer = make_packer([(n, 10, 10, 10, 100) for n in names],
                             [("1;unit", 10, 10, 10, 1)] * 6)
        packer.pack(distribute_items=True)
        self.assertEqual([b.string().split("(")[0] for b in packer.bins],
                         names)
        self.assertEqual([len(b.items) for b in packer.bins], [1, 1, 1, 1])
        self.assertEqual(len(packer.bins[-1].unfitted_items), 2)

    def test_single_box_type_loop_of_the_scripts(self):
        # The planner's loop: one bin per pass, the unfitted go round again,
        # and a pass that places nothing ends it.
        pieces = [("%d;pack" % (i % 7), 10.0, 12.0, 14.0, 1.0)
                  for i in range(30)] + [("99;unit", 50.0, 5.0, 5.0, 1.0)]
        remaining = list(pieces)
        boxes = []
        while remaining:
            packer = make_packer([("masterBox", 28.0, 29.0, 45.0, 4000.0)],
                                 remaining)
            packer.pack()
            left = [i.string().split("(")[0]
                    for i in packer.bins[0].unfitted_items]
            if len(left) == len(remaining):
                break
            boxes.append([i.string().split(";")[0]
                          for i in packer.bins[0].items])
            remaining = [next(p for p in pieces if p[0] == key)
                         for key in left]
        self.assertEqual([p[0] for p in remaining], ["99;unit"])
        self.assertEqual(sum(len(b) for b in boxes), 30)
        # Turned 14 x 12 x 10, 2 x 2 x 4 of these pieces fill a box.
        self.assertEqual([len(b) for b in boxes], [16, 14])

    def test_packing_without_bins_or_items(self):
        packer = make_packer([], [("1;unit", 1, 1, 1, 1)])
        packer.pack(distribute_items=True)
        packer.pack()
        self.assertEqual(packer.bins, [])
        packer = make_packer([("b", 1, 1, 1, 1)], [])
        packer.pack(distribute_items=True)
        self.assertEqual((packer.bins[0].items,
                          packer.bins[0].unfitted_items), ([], []))


class GeometryTest(Invariants, unittest.TestCase):

    def pack_one_bin(self, bin_size, items, max_weight=1000.0):
        packer = make_packer([("b",) + tuple(bin_size) + (max_weight,)],
                             items)
        packer.pack()
        self.check_each_bin_alone(packer)
        return packer.bins[0]

    def test_item_as_large_as_the_bin_fits(self):
        for size in ((28.000000, 29.000000, 45.000000), (1, 1, 1),
                     (0.3, 0.7, 1e-3)):
            bin_ = self.pack_one_bin(size, [("1;unit",) + size + (1.0,)])
            self.assertEqual(len(bin_.items), 1, size)

    def test_float_sums_do_not_invent_overlaps(self):
        # 0.1 + 0.2 exceeds 0.3 in floating point; the pieces still fit.
        bin_ = self.pack_one_bin((0.3, 0.1, 0.1),
                                 [("1;unit", 0.1, 0.1, 0.1, 1),
                                  ("2;unit", 0.2, 0.1, 0.1, 1)])
        self.assertEqual(len(bin_.items), 2)
        bin_ = self.pack_one_bin((1.0, 1.0, 1.0),
                                 [("%d;unit" % i, 0.1, 1.0, 1.0, 1)
                                  for i in range(10)])
        self.assertEqual(len(bin_.items), 10)

    def test_item_too_large_in_every_orientation_is_unfitted(self):
        bin_ = self.pack_one_bin((28, 29, 45),
                                 [("1;unit", 46, 1, 1, 1),
                                  ("2;unit", 30, 30, 1, 1),
                                  ("3;unit", 5, 5, 5, 1)])
        self.assertEqual([i.name for i in bin_.items], ["3;unit"])
        self.assertEqual(sorted(i.name for i in bin_.unfitted_items),
                         ["1;unit", "2;unit"])

    def test_item_that_fits_only_rotated_is_placed_rotated(self):
        for dims in ((45, 28, 29), (29, 45, 28), (10, 44, 5)):
            bin_ = self.pack_one_bin((28, 29, 45), [("1;unit",) + dims + (1,)])
            self.assertEqual(len(bin_.items), 1, dims)
            placed = bin_.items[0].get_dimension()
            self.assertLessEqual(placed[2], 45)
            self.assertGreater(placed[2], 29, dims)

    def test_weight_limit_stops_placement(self):
        bin_ = self.pack_one_bin((10, 10, 10),
                                 [("%d;unit" % i, 1, 1, 1, 3.0)
                                  for i in range(8)], max_weight=10.0)
        self.assertEqual(len(bin_.items), 3)
        self.assertEqual(len(bin_.unfitted_items), 5)
        # Exactly at the limit still fits, decimals included.
        bin_ = self.pack_one_bin((10, 10, 10),
                                 [("%d;unit" % i, 1, 1, 1, 0.1)
                                  for i in range(3)], max_weight=0.3)
        self.assertEqual(len(bin_.items), 3)

    def test_equal_boxes_fill_the_bin(self):
        bin_ = self.pack_one_bin((40, 40, 40), [("1;unit", 10, 10, 10, 1)] * 70)
        self.assertEqual(len(bin_.items), 64)
        # 4 x 3 x 4 fit when each piece turns the right way.
        bin_ = self.pack_one_bin((28, 29, 45),
                                 [("1;unit", 11, 7, 9.5, 1)] * 60)
        self.assertEqual(len(bin_.items), 48)

    def test_small_items_fill_gaps_left_by_large_ones(self):
        items = [("1;unit", 30, 30, 20, 1)] + [("2;unit", 10, 10, 10, 1)] * 20
        bin_ = self.pack_one_bin((40, 30, 20), items)
        # 30x30x20 leaves a 10x30x20 slab: six 10-cubes.
        self.assertEqual(len(bin_.items), 7)
        self.assertEqual(bin_.items[0].name, "1;unit")


class InvalidValuesTest(Invariants, unittest.TestCase):

    def test_bad_item_values_leave_the_item_unfitted(self):
        bad = [("n;unit", math.nan, 1, 1, 1), ("i;unit", math.inf, 1, 1, 1),
               ("m;unit", -1, 1, 1, 1), ("w;unit", 1, 1, 1, -1.0),
               ("x;unit", 1, 1, 1, math.nan), ("s;unit", "x", 1, 1, 1),
               ("v;unit", None, 1, 1, 1)]
        for distribute in (False, True):
            packer = make_packer([("b", 10, 10, 10, 100)],
                                 bad + [("ok;unit", 2, 2, 2, 1)])
            packer.pack(distribute_items=distribute)
            bin_ = packer.bins[0]
            self.assertEqual([i.name for i in bin_.items], ["ok;unit"])
            self.assertEqual(len(bin_.unfitted_items), len(bad))
            for item in bin_.unfitted_items:
                self.assertTrue(item.string().startswith(item.name + "("))

    def test_zero_sizes_take_no_room(self):
        packer = make_packer([("b", 10, 10, 10, 100)],
                             [("z;unit", 0, 0, 0, 1), ("f;unit", 10, 0, 10, 1),
                              ("full;unit", 10, 10, 10, 1),
                              ("wide;unit", 11, 0, 1, 1)])
        packer.pack()
        self.check_each_bin_alone(packer)
        self.assertEqual(sorted(i.name for i in packer.bins[0].items),
                         ["f;unit", "full;unit", "z;unit"])

    def test_bad_bins_take_nothing(self):
        for spec in (("nan", math.nan, 5, 5, 10), ("neg", -5, 5, 5, 10),
                     ("inf", math.inf, 5, 5, 10), ("w", 5, 5, 5, math.nan),
                     ("flat", 5, 0, 5, 10)):
            packer = make_packer([spec, ("good", 5, 5, 5, 10)],
                                 [("1;unit", 1, 1, 1, 1)])
            packer.pack(distribute_items=True)
            self.check_distributed(packer)
            self.assertEqual([len(b.items) for b in packer.bins], [0, 1],
                             spec)

    def test_infinite_weight_limit_means_no_limit(self):
        packer = make_packer([("b", 10, 10, 10, math.inf)],
                             [("1;unit", 5, 5, 5, 1e12)])
        packer.pack()
        self.assertEqual(len(packer.bins[0].items), 1)


if __name__ == "__main__":
    unittest.main()
