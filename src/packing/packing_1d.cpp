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

// Adds the piece to the first of the boxes from `from` on with room for
// `volume`; `from` then points there, or past the end when none had room.
// False when none had room.
bool addToFirstFit(BoxItem& piece,
                   int volume,
                   std::vector<Box>* packedBoxes,
                   long& from) {
  long found = packing::firstFitFrom(*packedBoxes, volume, from);
  if (found < 0) {
    from = static_cast<long>(packedBoxes->size());
    return false;
  }
  from = found;
  (*packedBoxes)[found].addItem(piece);
  return true;
}

// One step of the several-types packer on the caller's own piece and box
// types, so that the packing loop copies neither: first fit into the packed
// boxes from box `from` on (no earlier box holds the piece), else a new box
// of the first type large enough. Moves `from` to where the next identical
// piece's scan may start.
bool placeInFirstFitOrNewBox(BoxItem& piece,
                             std::vector<Box>* packedBoxes,
                             std::span<const Box> boxTypes,
                             long& from) {
  const int volume = piece.getVolume();
  if (addToFirstFit(piece, volume, packedBoxes, from)) return true;
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

void baseLineFFD(std::vector<OItem> lines,
                 std::vector<Box>* packedBoxes,
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

namespace {

// One box type's first fit for a piece of a run: the first box from `from`
// on with room for its volume (from then points there, or past the end when
// none had room), else a new box of its own when an empty box takes it.
// False when no box of the type takes the piece whole.
bool placeWholeInOneBoxType(BoxItem& piece,
                            int volume,
                            bool fitsEmptyBox,
                            const Box& boxType,
                            long& from,
                            std::vector<Box>* packedBoxes) {
  if (boxType.getCapacity() >= volume &&
      addToFirstFit(piece, volume, packedBoxes, from)) {
    return true;
  }
  if (!fitsEmptyBox) return false;
  Box box = boxType;
  box.addItem(piece);
  packedBoxes->push_back(std::move(box));
  return true;
}

// A package larger than the box type, unpacked: a unit larger than the box
// travels in a box of its own size; otherwise the units fill existing boxes
// first (from unitFrom on), then new boxes of as many units as fit.
void packUnitsOfOversizedPiece(const BoxItem& piece,
                               const Box& boxType,
                               long& unitFrom,
                               std::vector<Box>* packedBoxes) {
  const float capacity = boxType.getCapacity();
  BoxItem unit = piece;
  const int units = unit.getCountOfUnits();
  packing::makeUnitPiece(unit);
  const float unitVolume = unit.itemSpecification.volume;
  if (unitVolume > capacity) {
    for (int i = 0; i < units; ++i) appendOverflowBox(unit, packedBoxes);
    return;
  }
  int remaining = std::max(units, 0);
  while (remaining > 0) {
    long found =
        packing::firstFitFrom(*packedBoxes, unit.getVolume(), unitFrom);
    if (found < 0) {
      unitFrom = static_cast<long>(packedBoxes->size());
      break;
    }
    unitFrom = found;
    (*packedBoxes)[found].addItem(unit);
    --remaining;
  }
  while (remaining > 0) {
    Box box = boxType;
    int perBox = unitsPerBox(capacity, unitVolume, remaining);
    int left = std::max(remaining - perBox, 0);
    addUnits(box, unit, remaining - left);
    packedBoxes->push_back(std::move(box));
    remaining = left;
  }
}

}  // namespace

void mainSolution1DFFD_oneBoxType(std::vector<OItem> lines,
                                  std::vector<Box>* packedBoxes,
                                  Box boxType) {
  packing::sortByVolumeDescending(lines);
  // Pieces in runs of identical ones, packed one by one as if cut singly,
  // but without a copy per piece and with each first-fit scan starting
  // where the run's previous piece went.
  const std::vector<packing::PieceRun> runs = packing::cutToPieceRuns(lines);
  packedBoxes->push_back(boxType);
  const float capacity = boxType.getCapacity();

  for (const packing::PieceRun& run : runs) {
    BoxItem piece = run.piece;
    const int volume = piece.getVolume();
    const bool fitsEmptyBox =
        (piece.itemSpecification.type == ItemSpecification::Unit &&
         capacity >= piece.itemSpecification.volume) ||
        capacity >= volume;
    long from = 0;      // no box before it holds a piece of the run
    long unitFrom = 0;  // no box before it holds one unit of the line
    for (int n = 0; n < run.count; ++n) {
      if (!placeWholeInOneBoxType(piece, volume, fitsEmptyBox, boxType, from,
                                  packedBoxes)) {
        packUnitsOfOversizedPiece(piece, boxType, unitFrom, packedBoxes);
      }
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
  // Runs of identical pieces, as in the single-type packer.
  const std::vector<packing::PieceRun> runs = packing::cutToPieceRuns(lines);

  for (const packing::PieceRun& run : runs) {
    BoxItem piece = run.piece;
    long from = 0;
    long unitFrom = 0;
    for (int n = 0; n < run.count; ++n) {
      if (placeInFirstFitOrNewBox(piece, packedBoxes, boxTypes, from)) {
        continue;
      }
      if (piece.itemSpecification.type != ItemSpecification::Unit) {
        std::vector<BoxItem> units;
        splitPackageBoxItemToUnits(piece, &units);
        for (BoxItem& unit : units) {
          if (!placeInFirstFitOrNewBox(unit, packedBoxes, boxTypes, unitFrom)) {
            appendOverflowBox(unit, packedBoxes);
          }
        }
      } else {
        appendOverflowBox(piece, packedBoxes);
      }
    }
  }
}

}  // namespace bp_solver

bool mainSolution1DFFDS_helper(BoxItem piece,
                               std::vector<Box>* packedBoxes,
                               std::vector<Box> boxTypes) {
  long from = 0;
  return placeInFirstFitOrNewBox(piece, packedBoxes, boxTypes, from);
}
