// The volume packers pack runs of identical pieces at once; these tests hold
// them to the boxes of packing every piece on its own, piece by piece through
// the full first-fit scan.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>

#include "packing/bin_packing_solver.h"
#include "packing/piece_helpers.h"
#include "support/lines.h"

namespace {

using testing_support::line;

// Every box with its type, exact float capacities and per-product entries.
std::string describe(const std::vector<Box>& boxes) {
  std::ostringstream out;
  out.precision(9);
  for (const Box& box : boxes) {
    out << box.name << ' ' << box.capacity << ' ' << box.freeCapacity << ' '
        << box.usedCapacity << " [";
    for (const auto& [product, piece] : box.itemsInTheBox) {
      out << product << ':' << piece.countOfUnits << ':'
          << piece.itemSpecification.type << ' ';
    }
    out << "]\n";
  }
  return out.str();
}

// The single-type packer on pieces cut one by one, each scanned from the
// first box.
std::vector<Box> oneTypePieceByPiece(std::vector<OItem> lines, Box type) {
  std::vector<Box> boxes;
  packing::sortByVolumeDescending(lines);
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits(lines, &pieces);
  boxes.push_back(type);
  const float capacity = type.getCapacity();
  for (BoxItem& piece : pieces) {
    const int volume = piece.getVolume();
    if (capacity >= volume) {
      long found = packing::firstFit(boxes, volume);
      if (found >= 0) {
        boxes[found].addItem(piece);
        continue;
      }
    }
    if ((piece.itemSpecification.type == ItemSpecification::Unit &&
         capacity >= piece.itemSpecification.volume) ||
        capacity >= volume) {
      Box box = type;
      box.addItem(piece);
      boxes.push_back(box);
      continue;
    }
    const int units = piece.getCountOfUnits();
    packing::makeUnitPiece(piece);
    const float unitVolume = piece.itemSpecification.volume;
    if (unitVolume > capacity) {
      for (int i = 0; i < units; ++i) {
        Box box = packing::overflowBox(piece.itemSpecification);
        box.addItem(piece);
        boxes.push_back(box);
      }
      continue;
    }
    int remaining = units;
    while (remaining > 0) {
      long found = packing::firstFit(boxes, piece.getVolume());
      if (found < 0) break;
      boxes[found].addItem(piece);
      --remaining;
    }
    while (remaining > 0) {
      Box box = type;
      int perBox = static_cast<int>(capacity / unitVolume);
      int placed = std::min(remaining, std::max(perBox, 1));
      for (int i = 0; i < placed; ++i) {
        BoxItem unit = piece;
        unit.setNumOfUnits(1);
        box.addItem(unit);
      }
      boxes.push_back(box);
      remaining -= placed;
    }
  }
  return boxes;
}

// The several-types packer through its one-piece step for every piece.
std::vector<Box> severalTypesPieceByPiece(std::vector<OItem> lines,
                                          std::vector<Box> types) {
  std::stable_sort(types.begin(), types.end(), [](const Box& a, const Box& b) {
    return a.getCapacity() < b.getCapacity();
  });
  std::vector<Box> boxes;
  packing::sortByVolumeDescending(lines);
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits(lines, &pieces);
  for (BoxItem& piece : pieces) {
    if (mainSolution1DFFDS_helper(piece, &boxes, types)) continue;
    std::vector<BoxItem> units;
    splitPackageBoxItemToUnits(piece, &units);
    for (BoxItem& unit : units) {
      if (!mainSolution1DFFDS_helper(unit, &boxes, types)) {
        Box box = packing::overflowBox(unit.itemSpecification);
        box.addItem(unit);
        boxes.push_back(box);
      }
    }
  }
  return boxes;
}

// Random lines of up to 300 units: units of odd sizes (some larger than a
// box), packages of up to 24 units, some packages larger than a box.
std::vector<OItem> randomLines(std::mt19937& rng) {
  std::vector<OItem> lines;
  const int count = 1 + static_cast<int>(rng() % 6);
  for (int i = 0; i < count; ++i) {
    std::uniform_real_distribution<float> size(1.5f, 19.0f);
    const int qty = 1 + static_cast<int>(rng() % 300);
    const int content = rng() % 3 == 0 ? 0 : 2 + static_cast<int>(rng() % 23);
    const float scale = 1.0f + static_cast<float>(rng() % 8);
    lines.push_back(
        line(7, 100 + i, qty, size(rng), size(rng), size(rng), content, scale));
  }
  return lines;
}

TEST(BulkPackingTest, RunsOfPiecesGiveTheBoxesOfPackingEachPiece) {
  std::mt19937 rng(15);
  const Box master(28, 29, 45, 4000, "masterBox", 1.0f);
  const std::vector<Box> types = {Box(20, 20, 30, 2000, "small", 1.0f), master,
                                  Box(10, 12, 15, 500, "tiny", 0.9f)};
  for (int round = 0; round < 300; ++round) {
    const std::vector<OItem> lines = randomLines(rng);
    std::vector<Box> oneType;
    bp_solver::mainSolution1DFFD_oneBoxType(lines, &oneType, master);
    ASSERT_EQ(describe(oneType), describe(oneTypePieceByPiece(lines, master)))
        << "round " << round;
    std::vector<Box> severalTypes;
    bp_solver::mainSolution1DFFDS_multipleBoxTypes(lines, &severalTypes, types);
    ASSERT_EQ(describe(severalTypes),
              describe(severalTypesPieceByPiece(lines, types)))
        << "round " << round;
  }
}

TEST(BulkPackingTest, AHundredThousandUnitsKeepEveryUnit) {
  const std::vector<OItem> lines = {line(7, 1, 100000, 6.5f, 3.5f, 4.0f),
                                    line(7, 2, 99999, 10, 10, 10, 12, 2)};
  for (int packer : {1, 2}) {
    std::vector<Box> boxes;
    if (packer == 1) {
      bp_solver::mainSolution1DFFD_oneBoxType(
          lines, &boxes, Box(28, 29, 45, 4000, "masterBox", 1.0f));
    } else {
      bp_solver::mainSolution1DFFDS_multipleBoxTypes(
          lines, &boxes, {Box(28, 29, 45, 4000, "masterBox", 1.0f)});
    }
    for (const Box& box : boxes) EXPECT_GE(box.freeCapacity, 0.0f);
    std::map<int, long> units = testing_support::unitsByProduct(boxes);
    EXPECT_EQ(units[1], 100000) << "packer " << packer;
    EXPECT_EQ(units[2], 99999) << "packer " << packer;
  }
}

}  // namespace
