#pragma once

// The Python scripts the 3D packers run in the embedded interpreter. Each
// defines one function (and the FFDS script its helper class) in __main__,
// after the shared prelude; the packers redefine them before every call.
//
// Pieces arrive as dicts {'product_no', 'type', 'x', 'y', 'z', 'weight'}
// (plus 'volume' for the FFDS script), boxes as dicts {'name', 'width',
// 'height', 'depth', 'max-weight'} (plus 'volume' or 'count'). Inside the
// scripts a piece is the package Item named by its key "<product>;<type>",
// and an item's key is the part of its text form before the first "(". The
// packing functions return one dict per box used, in filling order:
// {'name': box type name, 'items': [{'product_no': text, 'type': 'unit' or
// 'pack'}, ...]}. A piece that fitted nowhere comes back alone in an entry
// whose name is None, which no box type's name (a text) can be.

namespace bp_solver::scripts {

// The helpers every packing script uses, run before the scripts: the key of
// a piece, the package's Bin of a box type and its Items of the pieces, the
// first of the pieces with a key, the record of a placed piece,
// the pieces a packed box left unfitted, and the records of pieces that fitted
// nowhere (one entry each, name None).
inline constexpr const char* packing_prelude = R"PY(
def piece_key(item):
    return str(item['product_no']) + ';' + item['type']

def bin_of(spec):
    return Bin(spec['name'], spec['width'], spec['height'], spec['depth'],
               spec['max-weight'])

def add_pieces(packer, pieces):
    for item in pieces:
        packer.add_item(Item(piece_key(item), item['x'], item['y'],
                             item['z'], item['weight']))

def first_with_key(items, key):
    for item in items:
        if piece_key(item) == key:
            return item
    return None

def placed_record(placed):
    text = placed.string()
    product_no, rest = text.split(';', 1)
    return {'product_no': product_no, 'type': rest.split('(', 1)[0]}

def unfitted_pieces(items, packed):
    pieces = []
    for unfitted in packed.unfitted_items:
        match = first_with_key(items, unfitted.string().split('(', 1)[0])
        if match is not None:
            pieces.append(match)
    return pieces

def unboxed_records(pieces):
    return [{'name': None, 'items': [
        {'product_no': str(item['product_no']), 'type': item['type']}]}
        for item in pieces]
)PY";

// One box type: fills one box per pass until every piece is placed, or a
// pass places nothing; what is left then comes back piece by piece,
// unboxed. Called as bin_packing3d(bin, items).
inline constexpr const char* bin_packing3d = R"PY(
def bin_packing3d(bin, items):
    remaining = list(items)
    export = []
    last_count = len(items)
    while len(remaining) > 0:
        packer = Packer()
        packer.add_bin(bin_of(bin))
        add_pieces(packer, remaining)
        packer.pack()
        remaining = []
        for packed in packer.bins:
            remaining += unfitted_pieces(items, packed)
        if len(remaining) == last_count:
            export += unboxed_records(remaining)
            break
        placed = []
        for packed in packer.bins:
            for item in packed.items:
                placed.append(placed_record(item))
        export.append({'name': bin['name'], 'items': placed})
        last_count = len(remaining)
    return export
)PY";

// Fit test: True when every piece fits into the one box together.
// Called as test_adding_boxitem_3d(bin, items).
inline constexpr const char* test_adding_boxitem_3d = R"PY(
def test_adding_boxitem_3d(bin, items):
    packer = Packer()
    packer.add_bin(bin_of(bin))
    add_pieces(packer, items)
    packer.pack()
    for packed in packer.bins:
        if len(packed.unfitted_items) > 0:
            return False
    return True
)PY";

// A box opened by the FFDS script's volume pre-assignment.
inline constexpr const char* UsedBin = R"PY(
class UsedBin:
    def __init__(self, bin_spec):
        self.volume = bin_spec['volume']
        self.free_volume = self.volume
        self.used_volume = 0
        self.bin_spec = bin_spec
        self.items = []

    def addItem(self, item):
        self.items.append(item)
        self.used_volume += item['volume']
        self.free_volume = self.volume - self.used_volume
)PY";

// Several box types, smallest that can take a piece by volume first. Each
// pass opens boxes by volume (after k passes that placed nothing, the
// (k+1)-th smallest type that can hold a piece) and lets the package place
// all remaining pieces into them. Needs UsedBin. Called as
// bin_packing_3d_ffds_multipleBins(bins, items).
inline constexpr const char* bin_packing_3d_ffds_multipleBins = R"PY(
def bin_packing_3d_ffds_multipleBins(bins, items):
    remaining = list(items)
    previous_count = 0
    stalled_passes = 0
    sorted_bins = sorted(bins, key=lambda record: record['volume'])
    export = []
    while len(remaining) > 0:
        if len(remaining) == previous_count:
            stalled_passes += 1
        else:
            stalled_passes = 0
        remaining = sorted(remaining, key=lambda item: item['volume'],
                           reverse=True)
        opened = []
        end = False
        for item in remaining:
            target = None
            for used in opened:
                if used.free_volume >= item['volume']:
                    target = used
                    break
            if target is None:
                fitting = 0
                for record in sorted_bins:
                    if record['volume'] >= item['volume']:
                        if fitting == stalled_passes:
                            target = UsedBin(record)
                            opened.append(target)
                            break
                        fitting += 1
            if target is not None:
                target.addItem(item)
            elif len(sorted_bins) == stalled_passes:
                end = True
        if end:
            break
        packer = Packer()
        for used in opened:
            packer.add_bin(bin_of(used.bin_spec))
        add_pieces(packer, remaining)
        packer.pack(distribute_items=True)
        previous_count = len(remaining)
        for index, packed in enumerate(packer.bins):
            if index == len(packer.bins) - 1:
                remaining = unfitted_pieces(items, packed)
            placed = [placed_record(item) for item in packed.items]
            if len(placed) > 0:
                export.append({'name': opened[index].bin_spec['name'],
                               'items': placed})
    export += unboxed_records(remaining)
    return export
)PY";

// A fixed stock of boxes (each type 'count' times) that the package fills in
// order; every piece no box took comes back unboxed. Called as
// bin_packing3d_libraryDefault(bins, items).
inline constexpr const char* bin_packing3d_libraryDefault = R"PY(
def bin_packing3d_libraryDefault(bins, items):
    packer = Packer()
    stock = []
    for record in bins:
        for copy_index in range(record['count']):
            packer.add_bin(bin_of(record))
            stock.append(record)
    add_pieces(packer, items)
    packer.pack(distribute_items=True)
    export = []
    remaining = list(items)
    for index, packed in enumerate(packer.bins):
        placed = [placed_record(item) for item in packed.items]
        if len(placed) > 0:
            export.append({'name': stock[index]['name'], 'items': placed})
        remaining = unfitted_pieces(items, packed)
    export += unboxed_records(remaining)
    return export
)PY";

}  // namespace bp_solver::scripts
