"""Items, bins and the packer that places the first into the second."""

import copy
import math

from .space import Space

# Rotation codes: which of the item's (width, height, depth) lies along the
# bin's width, height and depth axes.
ROTATIONS = (
    (0, 1, 2),
    (1, 0, 2),
    (1, 2, 0),
    (2, 1, 0),
    (2, 0, 1),
    (0, 2, 1),
)


def _number(value):
    """value as a float, or NaN when it is not a number."""
    try:
        return float(value)
    except (TypeError, ValueError, OverflowError):
        return math.nan


def _usable_size(value):
    """A size or weight is usable when it is a finite number >= 0."""
    return math.isfinite(value) and value >= 0.0


def _text(value):
    """Compact text for a number: 28.0 prints as 28, 2.5 as 2.5."""
    if isinstance(value, float) and math.isfinite(value) and value.is_integer():
        return str(int(value))
    return str(value)


class Item:
    """A box-shaped piece to pack.

    After packing, position holds its corner nearest the bin's origin and
    rotation_type its orientation (an index into ROTATIONS);
    get_dimension() gives its size along the bin's axes in that orientation.
    """

    def __init__(self, name, width, height, depth, weight):
        self.name = name
        self.width = width
        self.height = height
        self.depth = depth
        self.weight = weight
        self.rotation_type = 0
        self.position = [0, 0, 0]

    def get_volume(self):
        return _number(self.width) * _number(self.height) * _number(self.depth)

    def get_dimension(self):
        sizes = (self.width, self.height, self.depth)
        return [sizes[i] for i in ROTATIONS[self.rotation_type]]

    def string(self):
        return "%s(%sx%sx%s, weight: %s) pos(%s) rt(%s) vol(%s)" % (
            self.name, _text(self.width), _text(self.height),
            _text(self.depth), _text(self.weight),
            ", ".join(_text(v) for v in self.position), self.rotation_type,
            _text(self.get_volume()))

    def __repr__(self):
        return self.string()


class Bin:
    """A box to pack items into, with a limit on the weight it carries.

    items holds the items placed in it by the last pack(); unfitted_items
    the items offered to it that did not fit.
    """

    def __init__(self, name, width, height, depth, max_weight):
        self.name = name
        self.width = width
        self.height = height
        self.depth = depth
        self.max_weight = max_weight
        self.items = []
        self.unfitted_items = []

    def get_volume(self):
        return _number(self.width) * _number(self.height) * _number(self.depth)

    def get_total_weight(self):
        return sum(_number(item.weight) for item in self.items)

    def string(self):
        return "%s(%sx%sx%s, max_weight: %s) vol(%s)" % (
            self.name, _text(self.width), _text(self.height),
            _text(self.depth), _text(self.max_weight),
            _text(self.get_volume()))

    def __repr__(self):
        return self.string()


class _Piece:
    """An item prepared for placement: its sizes as floats and orientations."""

    __slots__ = ("item", "valid", "weight", "volume", "sorted_sizes",
                 "orientations")

    def __init__(self, item):
        self.item = item
        sizes = (_number(item.width), _number(item.height),
                 _number(item.depth))
        self.weight = _number(item.weight)
        self.valid = all(_usable_size(s) for s in sizes) and \
            _usable_size(self.weight)
        self.volume = sizes[0] * sizes[1] * sizes[2] if self.valid else 0.0
        self.sorted_sizes = tuple(sorted(sizes)) if self.valid else ()
        orientations = []
        seen = set()
        if self.valid:
            for rotation, axes in enumerate(ROTATIONS):
                oriented = (sizes[axes[0]], sizes[axes[1]], sizes[axes[2]])
                if oriented not in seen:
                    seen.add(oriented)
                    orientations.append(oriented + (rotation,))
        self.orientations = orientations

    def sort_key(self):
        s = self.sorted_sizes or (0.0, 0.0, 0.0)
        return (-self.volume, -s[2], -s[1])


def _fill(bin_, pieces):
    """Place pieces, in the given order, into bin_; returns the placed and
    the unfitted items."""
    width = _number(bin_.width)
    height = _number(bin_.height)
    depth = _number(bin_.depth)
    limit = _number(bin_.max_weight)
    placed = []
    unfitted = []
    if not (_usable_size(width) and _usable_size(height)
            and _usable_size(depth)) or math.isnan(limit):
        unfitted.extend(piece.item for piece in pieces)
        return placed, unfitted

    space = Space(width, height, depth)
    weight_slack = 1e-9 * max(1.0, abs(limit)) if math.isfinite(limit) else 0.0
    volume_slack = 1e-9 * max(1.0, width * height * depth)
    free_volume = width * height * depth
    carried = 0.0
    # Sorted sizes of pieces that found no place: free space only shrinks,
    # so a piece at least as large on every sorted axis cannot fit either.
    failed = []
    smallest = _smallest_after(pieces)
    for index, piece in enumerate(pieces):
        item = piece.item
        if (not piece.valid or carried + piece.weight > limit + weight_slack
                or piece.volume > free_volume + volume_slack):
            unfitted.append(item)
            continue
        d1, d2, d3 = piece.sorted_sizes
        if any(d1 >= f1 and d2 >= f2 and d3 >= f3 for f1, f2, f3 in failed):
            unfitted.append(item)
            continue
        if piece.volume == 0.0:
            # A box without volume overlaps nothing: it only has to fit the
            # bin's bounds. It goes to the origin and leaves the free space
            # as it was.
            spot = _flat_spot(piece.orientations, width, height, depth,
                              space.eps)
        else:
            spot = space.find(piece.orientations, d1, d2, d3)
        if spot is None:
            failed = [f for f in failed
                      if not (f[0] >= d1 and f[1] >= d2 and f[2] >= d3)]
            failed.append((d1, d2, d3))
            unfitted.append(item)
            continue
        x, y, z, a, b, c, rotation = spot
        if piece.volume != 0.0:
            space.smallest = smallest[index + 1]
            space.place(x, y, z, a, b, c)
        item.position = [x, y, z]
        item.rotation_type = rotation
        carried += piece.weight
        free_volume -= piece.volume
        placed.append(item)
    return placed, unfitted


def _smallest_after(pieces):
    """For each index, the smallest first, second and third sorted size
    among the pieces with volume from that index on (the last entry, for
    none left, is infinite)."""
    inf = math.inf
    m1 = m2 = m3 = inf
    out = [(inf, inf, inf)]
    for piece in reversed(pieces):
        if piece.valid and piece.volume > 0.0:
            d1, d2, d3 = piece.sorted_sizes
            m1 = min(m1, d1)
            m2 = min(m2, d2)
            m3 = min(m3, d3)
        out.append((m1, m2, m3))
    out.reverse()
    return out


def _flat_spot(orientations, width, height, depth, eps):
    for a, b, c, rotation in orientations:
        if a <= width + eps and b <= height + eps and c <= depth + eps:
            return 0.0, 0.0, 0.0, a, b, c, rotation
    return None


class Packer:
    """Packs the added items into the added bins.

    pack() offers every item to every bin, each bin on its own (bins after
    the first receive copies of the items, so every placed item carries its
    own position). pack(distribute_items=True) fills the bins one after the
    other in the order added; an item placed in a bin is not offered to the
    bins after it, so the last bin's unfitted_items are the items that found
    no place at all.

    Items go in largest volume first (then longest side, then middle side,
    then in the order added). Each item takes the lowest, then rearmost,
    then leftmost candidate point where some orientation fits. Sizes and
    weights must be finite and not negative, otherwise the item is never
    placed. A size of zero is allowed: such an item has no volume, overlaps
    nothing and fits wherever one of its orientations fits the bin's
    bounds (it is put at the origin).
    A bin with a negative or non-finite size, or a weight limit that is not
    a number, takes nothing; an infinite weight limit means no limit.
    The result depends on nothing but the input.
    """

    def __init__(self):
        self.bins = []
        self.items = []
        self.unfit_items = []

    def add_bin(self, bin_):
        self.bins.append(bin_)

    def add_item(self, item):
        self.items.append(item)

    def pack(self, distribute_items=False):
        for item in self.items:
            item.position = [0, 0, 0]
            item.rotation_type = 0
        pieces = [_Piece(item) for item in self.items]
        pieces.sort(key=_Piece.sort_key)
        if distribute_items:
            for bin_ in self.bins:
                bin_.items, bin_.unfitted_items = _fill(bin_, pieces)
                placed = set(map(id, bin_.items))
                pieces = [p for p in pieces if id(p.item) not in placed]
            self.unfit_items = [p.item for p in pieces]
            return
        placed_anywhere = set()
        for index, bin_ in enumerate(self.bins):
            offered = pieces if index == 0 else [_copy_piece(p) for p in pieces]
            originals = {id(twin.item): piece.item
                         for twin, piece in zip(offered, pieces)}
            bin_.items, bin_.unfitted_items = _fill(bin_, offered)
            placed_anywhere.update(id(originals[id(item)])
                                   for item in bin_.items)
        self.unfit_items = [item for item in self.items
                            if id(item) not in placed_anywhere]


def _copy_piece(piece):
    twin = copy.copy(piece)
    twin.item = copy.copy(piece.item)
    twin.item.position = [0, 0, 0]
    return twin
