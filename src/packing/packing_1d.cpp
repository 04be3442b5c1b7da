// One-dimensional first-fit-decreasing packers: a box takes goods while their
// summed volume stays within its capacity.

#include <algorithm>
#include <cmath>
#include <span>

#include "packing/bin_packing_solver.h"
#include "packing/piece_helpers.h"
#include "types.h"

namespace {

// Adds n single units of the piece's line to the box, one addition each.
void addUnits(Box& box, const BoxItem& unitPiece, int n) {
  BoxItem unit = unitPiece;
  for (int i = 0; i < n; ++i) {
    unit.setNumOfUnits(1);
    box.addItem(unit);
  }
}

void appendOverflowBox(BoxItem& unitPiece, std::vector<Box>* packedBoxes) {
  Box box = packing::overflowBox(unitPiece.itemSpecification);
  box.addItem(unitPiece);
  packedBoxes->push_back(std::move(box));
}

// How many units of the given volume a new box takes. A unit without a
// positive, finite volume would make the count unbounded: all remaining
// units then share one box.
int unitsPerBox(float capacity, float unitVolume, int remaining) {
  if (!(unitVolume > 0.0f) || !std::isfinite(unitVolume)) return remaining;
  int perBox = clampToInt(capacity / unitVolume);
  return std::max(perBox, 1);
}

// One step of the several-types packer on the caller's own piece and box
// types, so that the packing loop copies neither: first fit into the packed
// boxes, else a new box of the first type large enough.
bool placeInFirstFitOrNewBox(BoxItem& piece, std::vector<Box>* packedBoxes,
                             std::span<const Box> boxTypes) {
  const int volume = piece.getVolume();
  long found = packing::firstFit(*packedBoxes, volume);
  if (found >= 0) {
    (*packedBoxes)[found].addItem(piece);
    return true;
  }
  for (const Box& type : boxTypes) {
    if (type.getCapacity() >= volume) {
      Box box = type;
      box.addItem(piece);
      packedBoxes->push_back(std::move(box));
      return true;
    }
  }
  return false;
}

}  // namespace

namespace bp_solver {

void baseLineFFD(std::vector<OItem> lines, std::vector<Box>* packedBoxes,
                 Box boxType) {
  packing::sortByVolumeDescending(lines);
  packedBoxes->push_back(boxType);
  for (const OItem& line : lines) {
    long found = -1;
    if (boxType.getCapacity() >= line.getVolume()) {
      found = packing::firstFit(*packedBoxes, line.getVolume());
    }
    BoxItem unit(packing::unitPieceSpecification(line), line);
    if (found >= 0) {
      addUnits((*packedBoxes)[found], unit, line.qty);
    } else {
      Box box = boxType;
      addUnits(box, unit, line.qty);
      packedBoxes->push_back(std::move(box));
    }
  }
}

void mainSolution1DFFD_oneBoxType(std::vector<OItem> lines,
                                  std::vector<Box>* packedBoxes, Box boxType) {
  packing::sortByVolumeDescending(lines);
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits(std::move(lines), &pieces);
  packedBoxes->push_back(boxType);
  const float capacity = boxType.getCapacity();

  for (BoxItem& piece : pieces) {
    const int volume = piece.getVolume();
    if (capacity >= volume) {
      long found = packing::firstFit(*packedBoxes, volume);
      if (found >= 0) {
        (*packedBoxes)[found].addItem(piece);
        continue;
      }
    }
    bool fitsEmptyBox =
        (piece.itemSpecification.type == ItemSpecification::Unit &&
         capacity >= piece.itemSpecification.volume) ||
        capacity >= volume;
    if (fitsEmptyBox) {
      Box box = boxType;
      box.addItem(piece);
      packedBoxes->push_back(std::move(box));
      continue;
    }

    const int units = piece.getCountOfUnits();
    packing::makeUnitPiece(piece);
    const float unitVolume = piece.itemSpecification.volume;
    if (unitVolume > capacity) {
      // Every unit travels in a box of its own size.
      for (int i = 0; i < units; ++i) appendOverflowBox(piece, packedBoxes);
      continue;
    }

    // A package larger than the box: unpack it, fill existing boxes first.
    int remaining = std::max(units, 0);
    while (remaining > 0) {
      long found = packing::firstFit(*packedBoxes, piece.getVolume());
      if (found < 0) break;
      (*packedBoxes)[found].addItem(piece);
      --remaining;
    }
    while (remaining > 0) {
      Box box = boxType;
      int perBox = unitsPerBox(capacity, unitVolume, remaining);
      int left = std::max(remaining - perBox, 0);
      addUnits(box, piece, remaining - left);
      packedBoxes->push_back(std::move(box));
      remaining = left;
    }
  }
}

void mainSolution1DFFDS_multipleBoxTypes(std::vector<OItem> lines,
                                         std::vector<Box>* packedBoxes,
                                         std::vector<Box> boxTypes) {
  std::stable_sort(boxTypes.begin(), boxTypes.end(),
                   [](const Box& a, const Box& b) {
                     return packing::orderedValue(a.getCapacity()) <
                            packing::orderedValue(b.getCapacity());
                   });
  packing::sortByVolumeDescending(lines);
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits(std::move(lines), &pieces);

  for (BoxItem& piece : pieces) {
    if (placeInFirstFitOrNewBox(piece, packedBoxes, boxTypes)) continue;
    if (piece.itemSpecification.type != ItemSpecification::Unit) {
      std::vector<BoxItem> units;
      splitPackageBoxItemToUnits(piece, &units);
      for (BoxItem& unit : units) {
        if (!placeInFirstFitOrNewBox(unit, packedBoxes, boxTypes)) {
          appendOverflowBox(unit, packedBoxes);
        }
      }
    } else {
      appendOverflowBox(piece, packedBoxes);
    }
  }
}

}  // namespace bp_solver

bool mainSolution1DFFDS_helper(BoxItem piece, std::vector<Box>* packedBoxes,
                               std::vector<Box> boxTypes) {
  return placeInFirstFitOrNewBox(piece, packedBoxes, boxTypes);
}
