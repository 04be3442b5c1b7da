#!/usr/bin/python3
"""Writes the sample picking waves of data/data_both.

Each wave file lists, one row per order line and packaging, which customer
ordered which product from which storage address, with the size and weight
of one unit and, for products also sold in cartons, of one carton. Every
row also carries "Cart" and "AddressRank": how the wave was picked without
the planner, so each file is both a wave to plan and the recorded picking to
compare the plan with.

The output is reproducible byte for byte: one fixed seed, a random stream of
its own per wave, deterministic iteration only, and a fixed text layout with a
fixed number of decimals per float. Only the basic float operations are used
on random values, so the files do not depend on the platform's maths library.

Usage:
  generate_waves.py [--out DIR]          write the waves into DIR
  generate_waves.py [--out DIR] --check  regenerate into a temporary folder
                                         and compare with DIR byte for byte;
                                         exit status 1 on any difference
  generate_waves.py --large --out DIR [--seed N] [--rows N,N,...]
                                         write large waves for timing runs,
                                         large<ROWS>.json (default 5000, 10000,
                                         20000, 50000 and 100000 rows) into
                                         DIR, which must be given: these
                                         waves stay out of the repository
  generate_waves.py --bulk QTY --out DIR write the first sample wave with
                                         QTY units on every row,
                                         bulk<QTY>.json, and its first order
                                         line alone, bulkline<QTY>.json, into
                                         DIR, for timing the packers on large
                                         quantities
"""

import argparse
import filecmp
import json
import os
import random
import sys
import tempfile

SEED = 1422307
CATALOGUE_SIZE = 6000
CUSTOMER_BASE_SIZE = 4000

# (wave number, number of rows)
WAVES = [
    (1421886, 50),
    (1422014, 240),
    (1422131, 640),
    (1422307, 1100),
    (1422452, 1850),
    (1422618, 3000),
]

# Sector share of the stored products, and so roughly of the picks.
SECTOR_WEIGHTS = [("G", 44), ("V", 34), ("P", 13), ("GP", 9)]

# Rows of G built from small cells; all other G rows have big cells.
G_SMALL_ROWS = (0, 1, 2, 3, 36, 37, 38, 39, 40)
V_SMALL_ROWS = ("B", "D")

# Single-unit customers: one of every block of this many customers.
SINGLE_UNIT_BLOCK = 5

# What a cart holds: nine standard boxes 28 x 29 x 45.
BOX_DIMS = (28.0, 29.0, 45.0)
CART_VOLUME = 9 * 28.0 * 29.0 * 45.0
CART_CUSTOMERS = (3, 8)

PACKAGE_SHARE = 0.30
PACKAGE_CONTENTS = [(4, 3), (6, 4), (8, 2), (10, 2), (12, 3), (16, 1),
                    (20, 1), (24, 2)]

UNIT_TYPE = 1
CARTON_TYPE = 2


def repo_root():
    return os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def weighted(rng, pairs):
    """Picks the first element of one of the (value, weight) pairs."""
    total = sum(w for _, w in pairs)
    r = rng.randrange(total)
    for value, w in pairs:
        if r < w:
            return value
        r -= w
    raise AssertionError("unreachable")


def half_steps(value):
    """Rounds a length in centimetres to half a centimetre."""
    return round(value * 2.0) / 2.0


# ---------------------------------------------------------------------------
# Storage addresses
# ---------------------------------------------------------------------------

class Location:
    """A storage place: sector kind, row, level and cell."""

    def __init__(self, sector, row, level, cell):
        self.sector = sector  # "G", "V", "P" or "GP"
        self.row = row        # int, or the row letter in V
        self.level = level
        self.cell = cell

    def code(self):
        if self.sector == "V":
            return "V%s%s00%02d%03d" % (self.row, self.row, self.level,
                                        self.cell)
        prefix = {"G": "G00", "P": "P00", "GP": "GP0"}[self.sector]
        return "%s%02d%02d%03d" % (prefix, self.row, self.level, self.cell)

    def kind(self):
        """How big the goods stored here are: small, big, pallet or rack."""
        if self.sector == "G":
            return "small" if self.row in G_SMALL_ROWS else "big"
        if self.sector == "V":
            if self.row == "A":
                return "pallet"
            return "small" if self.row in V_SMALL_ROWS else "big"
        return "rack"

    def plan_point(self):
        """Approximate plan position in decimetres (x east, y south)."""
        if self.sector == "G":
            row, cell = self.row, self.cell
            y = int((row - 0.3) / 2 + 0.5) * 16 + 130
            y += row * 4 + 4 if row % 2 else row * 4
            if row in G_SMALL_ROWS:
                x = cell * 1.6 + 60
                x += 99 if cell > 192 else 68 if cell > 136 else \
                    31 if cell > 56 else 0
            else:
                x = cell * 13 + 60
                x += 99 if cell > 24 else 68 if cell > 17 else \
                    31 if cell > 7 else 0
            return x, y
        if self.sector == "V":
            r = ord(self.row) - ord("A")
            k = int((r + 0.3) / 2 + 0.5)
            y = k * 28 + 6 * (r // 2)
            cell = self.cell
            if r == 0:
                x = 10 * (cell - 1) + 41.5
                x += 135.5 if cell > 36 else 89 if cell > 26 else \
                    37.2 if cell > 12 else 0
            elif self.row in V_SMALL_ROWS:
                x = (cell - 1) * 1.3 + 30.65
                x += 88.46 if cell > 280 else 68 if cell > 200 else \
                    31 if cell > 100 else 0
            else:
                x = (cell - 1) * 13 + 36.5
                x += 88.46 if cell > 28 else 68 if cell > 20 else \
                    31 if cell > 10 else 0
            return x, y
        if self.sector == "P":
            row = self.row
            x = 754 + 34 * int((row - 0.3) / 2 + 0.5)
            x += row * 10 + 10 if row % 2 else row * 10
            return x, 9.5 + (self.cell - 0.075) * 9.5 + 115
        row = self.row
        x = (row - 1) * 18 + row * 6 + 585
        x -= 6 if row in (3, 5) else 0
        x -= 18 if row in (4, 5) else 0
        y = self.cell / 2 * 2.9 + self.cell * 11.7 + 264
        y += 32 if row > 6 else 0
        return x, y

    def walk_key(self):
        """(sector order, aisle, position along the aisle) of a picker's walk.

        Pickers start in V, go south through G, then east into GP and P.
        An aisle is the corridor between two facing rows (columns in P and
        GP); the position runs along it.
        """
        x, y = self.plan_point()
        if self.sector == "V":
            return 0, (ord(self.row) - ord("A")) // 2, x
        if self.sector == "G":
            return 1, (self.row + 1) // 2, x
        if self.sector == "GP":
            return 2, (self.row + 1) // 2, y
        return 3, (self.row + 1) // 2, y


def random_location(rng):
    """A storage place inside the drawn racks of a sector.

    G: rows 0-40; the small-cell rows hold cells 0-245, the big-cell rows
    cells 0-31 (cell 32 would lie east of the last cross corridor).
    V: rows A-F; pallet places 1-45 in row A, small cells 1-380 in rows B
    and D, big cells 1-35 in rows C, E and F.
    P: columns 0-6, which the corridors at x 754, 791, 845 and 899 serve;
    cells 0-70 reach the south exit at y 798.
    GP: columns 1-8 (x 591 to 759; column 0 would lie west of the sector);
    cells 0-29 stay north of the cross corridor at y 653, 0-27 in the
    columns shifted south.
    """
    sector = weighted(rng, SECTOR_WEIGHTS)
    if sector == "G":
        row = weighted(rng, [(r, 3 if r in G_SMALL_ROWS else 1)
                             for r in range(41)])
        cells = 245 if row in G_SMALL_ROWS else 31
        return Location("G", row, rng.randint(1, 5), rng.randint(0, cells))
    if sector == "V":
        row = weighted(rng, [("A", 2), ("B", 3), ("C", 2), ("D", 3),
                             ("E", 2), ("F", 2)])
        if row == "A":
            return Location("V", row, rng.randint(0, 2), rng.randint(1, 45))
        cells = 380 if row in V_SMALL_ROWS else 35
        return Location("V", row, rng.randint(1, 6), rng.randint(1, cells))
    if sector == "P":
        return Location("P", rng.randint(0, 6), rng.randint(1, 4),
                        rng.randint(0, 70))
    row = rng.randint(1, 8)
    cells = 27 if row > 6 else 29
    return Location("GP", row, rng.randint(1, 4), rng.randint(0, cells))


# ---------------------------------------------------------------------------
# Products
# ---------------------------------------------------------------------------

class Packing:
    """One way a product is packed: a unit or a carton of units."""

    def __init__(self, unit, package_type, content, dims, weight):
        self.unit = unit
        self.package_type = package_type
        self.content = content
        self.dims = dims
        self.weight = weight

    def volume(self):
        return self.dims[0] * self.dims[1] * self.dims[2]


class Product:
    def __init__(self, number, location, unit_packing, carton, bulky):
        self.number = number
        self.location = location
        self.unit_packing = unit_packing
        self.carton = carton
        self.bulky = bulky

    def rows_needed(self):
        return 2 if self.carton else 1


def fits_box(dims):
    return all(d <= b for d, b in zip(sorted(dims), sorted(BOX_DIMS)))


def unit_dimensions(rng, kind):
    """Outer dimensions (cm) and whether the item is bulky."""
    bulky_share = {"small": 0.0, "big": 0.03, "pallet": 0.35,
                   "rack": 0.07}[kind]
    if rng.random() < bulky_share:
        dims = (rng.uniform(30, 60), rng.uniform(30, 55), rng.uniform(40, 80))
        return tuple(half_steps(d) for d in dims), True
    if kind == "small":
        # Short sides mostly; products of small cells are a few cm wide.
        dims = [rng.uniform(1.5, 6) + rng.uniform(0, 10) * rng.random()
                for _ in range(3)]
    elif kind == "pallet":
        dims = [rng.uniform(12, 28), rng.uniform(12, 29), rng.uniform(15, 45)]
    else:
        dims = [rng.uniform(3, 12) + rng.uniform(0, 12) * rng.random()
                for _ in range(3)]
        if rng.random() < 0.1:
            dims[2] = rng.uniform(25, 44)  # a long item
    dims = tuple(max(1.0, half_steps(d)) for d in dims)
    return dims, not fits_box(dims)


def unit_weight(rng, dims, bulky):
    # Density in kg per cubic centimetre: packed goods are mostly air.
    density = rng.uniform(0.00004, 0.00018) if bulky else \
        rng.uniform(0.00012, 0.0009)
    weight = dims[0] * dims[1] * dims[2] * density
    return round(min(15.0, max(0.05, weight)), 3)


def carton_grid(content):
    """Units along the three sides of a carton: the most compact layout."""
    best = None
    for a in range(1, content + 1):
        if content % a:
            continue
        for b in range(1, content // a + 1):
            if (content // a) % b:
                continue
            c = content // a // b
            key = (max(a, b, c), a, b, c)
            if best is None or key < best:
                best = key
    return best[1:]


def make_carton(rng, unit_dims, weight):
    """A carton around a number of units, or None if none makes sense."""
    for _ in range(4):
        content = weighted(rng, PACKAGE_CONTENTS)
        grid = sorted(carton_grid(content))
        # The most units along the shortest side of the unit.
        sides = sorted(unit_dims)
        dims = [half_steps(s * n + rng.uniform(0.5, 1.5))
                for s, n in zip(sides, reversed(grid))]
        if max(dims) <= 60:
            rng.shuffle(dims)
            area = 2 * (dims[0] * dims[1] + dims[1] * dims[2]
                        + dims[0] * dims[2])
            carton = 0.03 + area * 0.00003
            return Packing(1, CARTON_TYPE, content, tuple(dims),
                        round(weight * content + carton, 3))
    return None


def make_catalogue(rng):
    numbers = rng.sample(range(10000, 10000000), CATALOGUE_SIZE)
    used_codes = set()
    products = []
    for number in numbers:
        location = random_location(rng)
        while location.code() in used_codes:
            location = random_location(rng)
        used_codes.add(location.code())
        dims, bulky = unit_dimensions(rng, location.kind())
        weight = unit_weight(rng, dims, bulky)
        unit = Packing(0, UNIT_TYPE, 1, dims, weight)
        package = None
        if not bulky and rng.random() < PACKAGE_SHARE:
            package = make_carton(rng, dims, weight)
        products.append(Product(number, location, unit, package, bulky))
    return products


class Popularity:
    """Draws products with a long tail: few sell often, most rarely."""

    def __init__(self, products):
        self.products = products
        self.cumulative = []
        total = 0.0
        for i in range(len(products)):
            total += 1.0 / (i + 20)
            self.cumulative.append(total)

    def draw(self, rng, accept=None):
        while True:
            product = rng.choices(self.products,
                                  cum_weights=self.cumulative)[0]
            if accept is None or accept(product):
                return product


# ---------------------------------------------------------------------------
# Waves
# ---------------------------------------------------------------------------

def quantity(rng, product):
    volume = product.unit_packing.volume()
    if product.bulky or volume > 8000:
        return weighted(rng, [(1, 8), (2, 2)])
    if rng.random() < 0.1:
        if product.carton:
            content = product.carton.content
            return content * rng.randint(1, 2) + rng.randrange(content)
        if volume <= 1500:
            return rng.randint(6, 12)
    return weighted(rng, [(1, 45), (2, 22), (3, 12), (4, 7), (5, 5)])


def customer_lines(rng, popularity, single_unit, room):
    """(product, qty) lines of one customer, using at most `room` rows."""
    if single_unit or room == 1:
        product = popularity.draw(rng, lambda p: p.carton is None)
        return [(product, 1)]
    wanted = 1 + int(29 * rng.random() * rng.random())
    lines, chosen, rows = [], set(), 0
    while len(lines) < wanted:
        product = popularity.draw(rng)
        if product.number in chosen:
            continue
        if rows + product.rows_needed() > room:
            break
        chosen.add(product.number)
        rows += product.rows_needed()
        lines.append((product, quantity(rng, product)))
    if not lines:
        product = popularity.draw(rng, lambda p: p.carton is None)
        lines.append((product, 1))
    if len(lines) == 1 and lines[0][1] == 1:
        # Customers of a single unit come from the single-unit share only.
        lines[0] = (lines[0][0], 2)
    return lines


def line_volume(lines):
    return sum(qty * product.unit_packing.volume() for product, qty in lines)


def assign_carts(rng, orders):
    """Groups customers, in customer order, onto carts as pickers do."""
    carts, current, volume, size = [], [], 0.0, 0
    for customer, lines in orders:
        need = line_volume(lines)
        if current and (len(current) >= size or volume + need > CART_VOLUME):
            carts.append(current)
            current, volume = [], 0.0
        if not current:
            size = rng.randint(*CART_CUSTOMERS)
        current.append(customer)
        volume += need
    if current:
        carts.append(current)
    return carts


def address_ranks(locations):
    """Rank of every address of one cart in an aisle-by-aisle walk.

    The walk goes through the aisles in order and turns at the end of each,
    so every second aisle is walked backwards. The recorded walk is replayed
    highest rank first, so the first address walked gets the highest rank.
    """
    aisles = {}
    for location in locations.values():
        sector, aisle, along = location.walk_key()
        aisles.setdefault((sector, aisle), []).append(
            (along, location.code()))
    walk = []
    for i, key in enumerate(sorted(aisles)):
        stops = sorted(aisles[key])
        if i % 2:
            stops.reverse()
        walk.extend(code for _, code in stops)
    return {code: len(walk) - i for i, code in enumerate(walk)}


def make_wave(wave_number, target_rows, popularity, customer_base):
    rng = random.Random(SEED * 10000000 + wave_number)
    orders, rows, index = [], 0, 0
    block = []
    while rows < target_rows:
        if not block:
            block = [True] + [False] * (SINGLE_UNIT_BLOCK - 1)
            rng.shuffle(block)
        single = block.pop()
        lines = customer_lines(rng, popularity, single, target_rows - rows)
        rows += sum(product.rows_needed() for product, _ in lines)
        orders.append((index, lines))
        index += 1
    numbers = sorted(rng.sample(customer_base, len(orders)))
    orders = [(numbers[i], lines) for i, lines in orders]

    out = []
    for cart_number, customers in enumerate(assign_carts(rng, orders), 1):
        members = set(customers)
        locations = {}
        for customer, lines in orders:
            if customer in members:
                for product, _ in lines:
                    locations[product.location.code()] = product.location
        ranks = address_ranks(locations)
        for customer, lines in orders:
            if customer not in members:
                continue
            for product, qty in sorted(lines, key=lambda line: line[0].number):
                code = product.location.code()
                for packing in (product.unit_packing, product.carton):
                    if packing is not None:
                        out.append(format_row(customer, product.number, code,
                                              qty, packing, cart_number,
                                              ranks[code]))
    assert len(out) == target_rows
    return "[\n" + ",\n".join(out) + "\n]\n", len(orders), cart_number


def format_row(customer, product, code, qty, packing, cart, rank):
    return ('{"Customer": %d, "Product": %d, "AddressCode": %s, "Qty": %d, '
            '"Unit": %d, "PackageType": %d, "ContentQty": %d, "X": %.1f, '
            '"Y": %.1f, "Z": %.1f, "Weight": %.3f, "Cart": %d, '
            '"AddressRank": %d}' % (
                customer, product, json.dumps(code, ensure_ascii=True), qty,
                packing.unit, packing.package_type, packing.content,
                packing.dims[0], packing.dims[1], packing.dims[2],
                packing.weight, cart, rank))


def generate(out_dir, quiet=False):
    rng = random.Random(SEED)
    products = make_catalogue(rng)
    customer_base = rng.sample(range(10000, 10000000), CUSTOMER_BASE_SIZE)
    popularity = Popularity(products)
    os.makedirs(out_dir, exist_ok=True)
    for wave_number, target_rows in WAVES:
        text, customers, carts = make_wave(wave_number, target_rows,
                                           popularity, customer_base)
        name = "wave%d.json" % wave_number
        with open(os.path.join(out_dir, name), "w", encoding="ascii",
                  newline="\n") as f:
            f.write(text)
        if not quiet:
            print("%s: %d rows, %d customers, %d carts, %d bytes"
                  % (name, target_rows, customers, carts, len(text)))


LARGE_ROWS = (5000, 10000, 20000, 50000, 100000)
LARGE_SEED = 1422999


def generate_large(out_dir, seed, sizes, quiet=False):
    """Writes one wave of each size, large<ROWS>.json, drawn from the same
    catalogue as the sample waves; the seed fixes every byte."""
    rng = random.Random(seed)
    products = make_catalogue(rng)
    popularity = Popularity(products)
    os.makedirs(out_dir, exist_ok=True)
    for rows in sizes:
        # At most one customer per row, so a base as large as the wave
        # always has enough distinct numbers. A stream of its own per size
        # keeps each wave the same whatever other sizes are asked for.
        customer_base = random.Random(seed * 1000003 + rows).sample(
            range(10000, 10000000), max(CUSTOMER_BASE_SIZE, rows))
        text, customers, carts = make_wave(seed + rows, rows, popularity,
                                           customer_base)
        name = "large%d.json" % rows
        with open(os.path.join(out_dir, name), "w", encoding="ascii",
                  newline="\n") as f:
            f.write(text)
        if not quiet:
            print("%s: %d rows, %d customers, %d carts, %d bytes"
                  % (name, rows, customers, carts, len(text)))


def generate_bulk(out_dir, qty, quiet=False):
    """Writes the first sample wave with every row's quantity set to qty,
    and the rows of its first order line (customer and product) alone."""
    rng = random.Random(SEED)
    products = make_catalogue(rng)
    customer_base = rng.sample(range(10000, 10000000), CUSTOMER_BASE_SIZE)
    wave_number, target_rows = WAVES[0]
    text, _, _ = make_wave(wave_number, target_rows, Popularity(products),
                           customer_base)
    rows = json.loads(text)
    for row in rows:
        row["Qty"] = qty
    first = (rows[0]["Customer"], rows[0]["Product"])
    line = [row for row in rows if (row["Customer"], row["Product"]) == first]
    os.makedirs(out_dir, exist_ok=True)
    for name, chosen in (("bulk%d.json" % qty, rows),
                         ("bulkline%d.json" % qty, line)):
        body = "[\n" + ",\n".join(json.dumps(row) for row in chosen) + "\n]\n"
        with open(os.path.join(out_dir, name), "w", encoding="ascii",
                  newline="\n") as f:
            f.write(body)
        if not quiet:
            print("%s: %d rows of %d units" % (name, len(chosen), qty))


def positive_int(text):
    value = int(text)
    if value < 1:
        raise argparse.ArgumentTypeError("%r: must be at least 1" % text)
    return value


def row_counts(text):
    sizes = []
    for field in text.split(","):
        value = int(field)
        if value < 1:
            raise argparse.ArgumentTypeError(
                "row count %r: must be at least 1" % field)
        sizes.append(value)
    return sizes


def check(out_dir):
    """Returns the names of files that differ from a fresh generation."""
    with tempfile.TemporaryDirectory() as fresh:
        generate(fresh, quiet=True)
        expected = sorted(os.listdir(fresh))
        present = sorted(os.listdir(out_dir)) if os.path.isdir(out_dir) \
            else []
        differing = sorted(set(expected) ^ set(present))
        for name in sorted(set(expected) & set(present)):
            if not filecmp.cmp(os.path.join(fresh, name),
                               os.path.join(out_dir, name), shallow=False):
                differing.append(name)
    return sorted(differing)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=None,
                        help="folder of the wave files (default: the "
                        "sample folder data/data_both)")
    parser.add_argument("--check", action="store_true",
                        help="compare the folder with a fresh generation")
    parser.add_argument("--large", action="store_true",
                        help="write large waves for timing runs instead")
    parser.add_argument("--seed", type=int, default=LARGE_SEED,
                        help="seed of the large waves")
    parser.add_argument("--rows", type=row_counts, default=list(LARGE_ROWS),
                        help="comma-separated row counts of the large waves")
    parser.add_argument("--bulk", type=positive_int, default=None,
                        metavar="QTY",
                        help="write the first sample wave with QTY units "
                        "per row, and its first order line alone")
    args = parser.parse_args()
    if args.bulk is not None:
        if args.out is None or args.check or args.large:
            parser.error("--bulk needs --out and takes no --check or --large")
        generate_bulk(args.out, args.bulk)
        return 0
    if args.large:
        if args.out is None or args.check:
            parser.error("--large needs --out and takes no --check")
        generate_large(args.out, args.seed, args.rows)
        return 0
    if args.out is None:
        args.out = os.path.join(repo_root(), "data", "data_both")
    if args.check:
        differing = check(args.out)
        for name in differing:
            print("differs: %s" % name, file=sys.stderr)
        return 1 if differing else 0
    generate(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
