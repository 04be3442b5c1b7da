"""Checks the committed sample waves and the generator that writes them."""

import collections
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(
    os.path.abspath(__file__))))
SCRIPT = os.path.join(ROOT, "scripts", "generate_waves.py")
WAVES = os.path.join(ROOT, "data", "data_both")

INT_KEYS = ("Customer", "Product", "Qty", "Unit", "PackageType",
            "ContentQty", "Cart", "AddressRank")
FLOAT_KEYS = ("X", "Y", "Z", "Weight")
PAIR_KEYS = ("Qty", "AddressCode", "Cart", "AddressRank")
G_SMALL_ROWS = (0, 1, 2, 3, 36, 37, 38, 39, 40)
SECTOR_ORDER = {"V": 0, "G": 1, "GP": 2, "P": 3}


def parse_address(code):
    """(sector, row, level, cell) of an address text; row is a letter in V."""
    if code.startswith("GP0"):
        sector = "GP"
    elif code.startswith("G00"):
        sector = "G"
    elif code.startswith("P00"):
        sector = "P"
    elif code[0] == "V" and code[1] == code[2]:
        return "V", code[1], int(code[5:7]), int(code[7:10])
    else:
        raise ValueError("unknown sector in %r" % code)
    return sector, int(code[3:5]), int(code[5:7]), int(code[7:10])


def cell_limit(sector, row):
    """Highest cell number of a row (cells of V count from 1)."""
    if sector == "G":
        return 245 if row in G_SMALL_ROWS else 31
    if sector == "V":
        return {"A": 45, "B": 380, "D": 380}.get(row, 35)
    if sector == "P":
        return 70
    return 27 if row > 6 else 29


def aisle(address):
    sector, row, _, _ = address
    if sector == "V":
        return SECTOR_ORDER[sector], (ord(row) - ord("A")) // 2
    return SECTOR_ORDER[sector], (row + 1) // 2


def fits_box(row):
    dims = sorted((row["X"], row["Y"], row["Z"]))
    return all(d <= b for d, b in zip(dims, (28, 29, 45)))


class CommittedWavesTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.waves = {}
        for name in sorted(os.listdir(WAVES)):
            with open(os.path.join(WAVES, name), encoding="ascii") as f:
                cls.waves[name] = json.load(f)
        cls.rows = [row for rows in cls.waves.values() for row in rows]

    def test_generator_reproduces_files(self):
        run = subprocess.run([sys.executable, SCRIPT, "--check"],
                             capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stderr)

    def test_check_reports_a_changed_file(self):
        with tempfile.TemporaryDirectory() as tmp:
            copy = os.path.join(tmp, "waves")
            shutil.copytree(WAVES, copy)
            path = os.path.join(copy, "wave1422307.json")
            with open(path, "r+b") as f:
                f.seek(100)
                byte = f.read(1)
                f.seek(100)
                f.write(b"7" if byte != b"7" else b"8")
            run = subprocess.run([sys.executable, SCRIPT, "--check",
                                  "--out", copy],
                                 capture_output=True, text=True)
        self.assertEqual(run.returncode, 1)
        self.assertIn("wave1422307.json", run.stderr)

    def test_bulk_waves_are_the_first_wave_with_large_quantities(self):
        with tempfile.TemporaryDirectory() as tmp:
            run = subprocess.run([sys.executable, SCRIPT, "--bulk", "70000",
                                  "--out", tmp], capture_output=True,
                                 text=True)
            self.assertEqual(run.returncode, 0, run.stderr)
            with open(os.path.join(tmp, "bulk70000.json")) as f:
                wave = json.load(f)
            with open(os.path.join(tmp, "bulkline70000.json")) as f:
                line = json.load(f)
        first = self.waves["wave1421886.json"]
        self.assertEqual(wave, [dict(row, Qty=70000) for row in first])
        same = [row for row in wave
                if (row["Customer"], row["Product"]) ==
                (first[0]["Customer"], first[0]["Product"])]
        self.assertEqual(line, same)
        self.assertEqual(sorted(row["Unit"] for row in line), [0, 1])

    def test_bulk_needs_a_folder_and_a_positive_quantity(self):
        for args in (["--bulk", "5"], ["--bulk", "0", "--out", "x"],
                     ["--bulk", "5", "--out", "x", "--large"]):
            run = subprocess.run([sys.executable, SCRIPT] + args,
                                 capture_output=True, text=True)
            self.assertEqual(run.returncode, 2, args)

    def test_folder_holds_a_handful_of_waves(self):
        self.assertIn("wave1422307.json", self.waves)
        self.assertTrue(5 <= len(self.waves) <= 6, sorted(self.waves))
        sizes = [len(rows) for rows in self.waves.values()]
        self.assertTrue(all(50 <= n <= 3000 for n in sizes), sizes)
        self.assertEqual((min(sizes), max(sizes)), (50, 3000))
        total = sum(os.path.getsize(os.path.join(WAVES, name))
                    for name in self.waves)
        self.assertLess(total, 5 * 1024 * 1024)

    def test_rows_carry_every_key_with_its_type(self):
        for row in self.rows:
            for key in INT_KEYS:
                value = row[key]
                self.assertIs(type(value), int, (key, row))
                self.assertTrue(0 <= value < 2 ** 31, (key, row))
            for key in FLOAT_KEYS:
                self.assertIn(type(row[key]), (int, float), (key, row))
                self.assertGreater(row[key], 0, (key, row))
            self.assertIs(type(row["AddressCode"]), str)
            self.assertEqual(len(row["AddressCode"]), 10, row)
            self.assertIn(row["Unit"], (0, 1))
            self.assertGreaterEqual(row["Qty"], 1)
        customers = {row["Customer"] for row in self.rows}
        products = {row["Product"] for row in self.rows}
        for number in customers | products:
            self.assertTrue(10000 <= number <= 9999999, number)

    def test_addresses_lie_within_their_sectors(self):
        seen = collections.Counter()
        for row in self.rows:
            sector, line, level, cell = parse_address(row["AddressCode"])
            seen[sector] += 1
            if sector == "V":
                self.assertIn(line, "ABCDEF", row)
                self.assertGreaterEqual(cell, 1, row)
            else:
                low = 1 if sector == "GP" else 0
                high = {"G": 40, "P": 6, "GP": 8}[sector]
                self.assertTrue(low <= line <= high, row)
            self.assertLessEqual(cell, cell_limit(sector, line), row)
            self.assertTrue(0 <= level <= 6, row)
        total = sum(seen.values())
        self.assertGreater((seen["G"] + seen["V"]) / total, 0.6)
        self.assertGreater(seen["G"], seen["P"])
        self.assertGreater(seen["V"], seen["GP"])
        self.assertGreater(min(seen["P"], seen["GP"]) / total, 0.03)

    def test_rows_of_an_order_line_agree(self):
        for name, rows in self.waves.items():
            lines = collections.defaultdict(list)
            for row in rows:
                lines[(row["Customer"], row["Product"])].append(row)
            for key, group in lines.items():
                units = sorted(row["Unit"] for row in group)
                self.assertIn(units, ([0], [0, 1]), (name, key))
                for field in PAIR_KEYS:
                    self.assertEqual(len({row[field] for row in group}), 1,
                                     (name, key, field))

    def test_products_keep_address_and_packaging_across_waves(self):
        packings, products_at = {}, {}
        for row in self.rows:
            packing = tuple(row[key] for key in (
                "AddressCode", "PackageType", "ContentQty", "X", "Y", "Z",
                "Weight"))
            key = (row["Product"], row["Unit"])
            self.assertEqual(packings.setdefault(key, packing), packing, row)
            self.assertEqual(products_at.setdefault(row["AddressCode"],
                                                    row["Product"]),
                             row["Product"], row)

    def test_packaging_and_sizes(self):
        units = {row["Product"]: row for row in self.rows if row["Unit"] == 0}
        for unit in units.values():
            self.assertEqual((unit["ContentQty"], unit["PackageType"]), (1, 1))
            self.assertTrue(0.05 <= unit["Weight"] <= 15, unit)
        cartons = [row for row in self.rows if row["Unit"] == 1]
        for row in cartons:
            unit = units[row["Product"]]
            content = row["ContentQty"]
            self.assertEqual(row["PackageType"], 2)
            self.assertTrue(4 <= content <= 24, row)
            self.assertGreaterEqual(row["X"] * row["Y"] * row["Z"],
                                    content * unit["X"] * unit["Y"]
                                    * unit["Z"], row)
            self.assertGreater(row["Weight"], content * unit["Weight"])
        self.assertGreater(sum(row["Qty"] >= row["ContentQty"]
                               for row in cartons), 10)
        unit_rows = [row for row in self.rows if row["Unit"] == 0]
        self.assertTrue(0.2 <= len(cartons) / len(unit_rows) <= 0.4)
        misfits = sum(1 for row in unit_rows if not fits_box(row))
        self.assertTrue(0 < misfits < 0.1 * len(unit_rows), misfits)
        self.assertTrue(any(row["Qty"] > 5 for row in unit_rows))

    def test_customer_sizes(self):
        for name, rows in self.waves.items():
            customers = collections.defaultdict(list)
            for row in rows:
                customers[row["Customer"]].append(row)
            single = 0
            for group in customers.values():
                lines = {row["Product"] for row in group}
                self.assertTrue(1 <= len(lines) <= 30, name)
                single += (len(group) == 1 and group[0]["Qty"] == 1
                           and group[0]["Unit"] == 0)
            if len(customers) >= 20:
                share = single / len(customers)
                self.assertTrue(0.15 <= share <= 0.25, (name, share))
            self.assertGreater(single, 0, name)

    def test_carts_hold_consecutive_customers(self):
        for name, rows in self.waves.items():
            cart_of = {row["Customer"]: row["Cart"] for row in rows}
            for row in rows:
                self.assertEqual(cart_of[row["Customer"]], row["Cart"])
            order = [cart_of[c] for c in sorted(cart_of)]
            # Cart numbers rise with the customer numbers, one cart at a time.
            self.assertEqual(order, sorted(order), name)
            sizes = collections.Counter(order)
            self.assertEqual(sorted(sizes), list(range(1, len(sizes) + 1)))
            self.assertLessEqual(max(sizes.values()), 8, name)
            self.assertGreater(sum(sizes.values()) / len(sizes), 2, name)

    def test_recorded_walk_goes_aisle_by_aisle(self):
        for name, rows in self.waves.items():
            carts = collections.defaultdict(dict)
            for row in rows:
                ranks = carts[row["Cart"]]
                code = row["AddressCode"]
                self.assertEqual(ranks.setdefault(code, row["AddressRank"]),
                                 row["AddressRank"], (name, code))
            for cart, ranks in carts.items():
                self.assertEqual(sorted(ranks.values()),
                                 list(range(1, len(ranks) + 1)), (name, cart))
                # Replayed highest rank first: the walk starts in V and enters
                # every aisle once, in the order V, G, GP, P.
                walk = sorted(ranks, key=ranks.get, reverse=True)
                aisles = [aisle(parse_address(code)) for code in walk]
                self.assertEqual(aisles, sorted(aisles), (name, cart))


if __name__ == "__main__":
    unittest.main()
