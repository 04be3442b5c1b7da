#pragma once

// Small helpers shared by the packers (not part of the public interface).

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/box.h"
#include "model/box_item.h"
#include "model/oitem.h"

namespace packing {

// The unit specification of a line as a unit piece uses it: one piece is
// always exactly one unit, whatever content quantity the unit row carries.
// Throws std::out_of_range ("map::at") when the line has no unit
// specification.
inline ItemSpecification unitPieceSpecification(const OItem& line) {
  ItemSpecification unit = line.itemSpecifications.at(ItemSpecification::Unit);
  unit.contentQty = 1;
  return unit;
}

// Turns a piece into a single unit of its line.
inline void makeUnitPiece(BoxItem& piece) {
  piece.itemSpecification = unitPieceSpecification(piece.oItem);
  piece.countOfUnits = 1;
}

// A box of the unit's own size for a unit that fits no box type.
inline Box overflowBox(const ItemSpecification& unit) {
  return Box(unit.x, unit.y, unit.z, unit.weight, "none", 1.0f);
}

// Sort key that puts NaN below every number, so sorting stays a strict weak
// ordering whatever the volumes are.
inline float orderedValue(float v) {
  return std::isnan(v) ? -INFINITY : v;
}

// Index of the first box whose free capacity holds the volume, or -1.
template <typename Volume>
long firstFit(const std::vector<Box>& boxes, Volume volume) {
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (boxes[i].freeCapacity >= volume) return static_cast<long>(i);
  }
  return -1;
}

// firstFit starting at box `from`: the answer of firstFit when no box before
// `from` holds the volume. Identical pieces packed one after another never
// fit a box before the one the previous piece took, since boxes only fill.
template <typename Volume>
long firstFitFrom(const std::vector<Box>& boxes, Volume volume, long from) {
  for (std::size_t i = static_cast<std::size_t>(from); i < boxes.size(); ++i) {
    if (boxes[i].freeCapacity >= volume) return static_cast<long>(i);
  }
  return -1;
}

// A run of identical pieces: `count` pieces of one specification cut from
// one line.
struct PieceRun {
  BoxItem piece;
  int count = 0;
};

// The pieces cutToPackagesAndUnits makes of the lines, as runs in the same
// order: per line its packages, then its units. Throws what it throws.
std::vector<PieceRun> cutToPieceRuns(const std::vector<OItem>& lines);

// Lines sorted by volume, largest first (stable, so runs are reproducible).
inline void sortByVolumeDescending(std::vector<OItem>& lines) {
  std::stable_sort(
      lines.begin(), lines.end(), [](const OItem& a, const OItem& b) {
        return orderedValue(a.getVolume()) > orderedValue(b.getVolume());
      });
}

}  // namespace packing
