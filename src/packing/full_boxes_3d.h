#pragma once

// Large quantities in the three-dimensional packers (not part of the public
// interface). Pieces of one run are identical, so one box of them packed by
// the module is the pattern of every full box of the run: the module packs
// that one box, the full boxes repeat it, and only the rest of the run goes
// through the packing script with the other pieces.

#include <functional>
#include <optional>
#include <vector>

#include "model/box.h"
#include "model/box_item.h"

namespace packing {

// Customers with at most this many pieces are packed piece by piece, as
// their packer always did; only above it do runs filling more than one box
// get full boxes by pattern.
inline constexpr std::size_t kPatternFromPieces = 500;

// How many copies of the piece the module places into one box of the type,
// offered no more than `count` of them (and never more than the box's volume
// could hold). Nothing when the piece has no usable volume. Throws
// std::runtime_error as the interpreter bridge does.
std::optional<int> piecesPerBox(const Box& type,
                                const BoxItem& piece,
                                int count);

// Appends `boxes` copies of one box of the type holding `perBox` of the
// piece, each added as the packers add a returned piece.
void appendFullBoxes(const Box& type,
                     BoxItem piece,
                     int perBox,
                     int boxes,
                     std::vector<Box>* fullBoxes);

// Packs the full boxes of a run of `count` identical pieces into *fullBoxes
// and returns how many pieces they took; the rest of the run is left to the
// packing script.
using FullBoxesOfRun =
    std::function<int(const BoxItem& piece, int count, std::vector<Box>*)>;

// The pieces (as cut, in runs of identical pieces) left for the packing
// script, in their order: all of them for a customer of at most
// kPatternFromPieces pieces, else what fullBoxesOf leaves of each run.
std::vector<BoxItem> piecesAfterFullBoxes(std::vector<BoxItem> pieces,
                                          const FullBoxesOfRun& fullBoxesOf,
                                          std::vector<Box>* fullBoxes);

}  // namespace packing
