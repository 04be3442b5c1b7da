// The three-dimensional packers pack the full boxes of a large run of
// identical pieces once and repeat them; these tests hold the result to the
// script packing piece by piece, and to keeping every unit within every
// box's volume and the box stock.

#include "packing/full_boxes_3d.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "packing/bin_packing_solver.h"
#include "packing/packing_scripts.h"
#include "packing/packing_statements.h"
#include "packing/piece_helpers.h"
#include "packing/python_session.h"
#include "support/lines.h"

namespace {

using testing_support::line;
using testing_support::orderedByProduct;
using testing_support::unitsByProduct;

const Box master(28, 29, 45, 4000, "masterBox", 1.0f);
const Box small(15, 15, 20, 4000, "small", 1.0f);

// Units per box, in box order.
std::vector<int> unitsPerBox(const std::vector<Box>& boxes) {
  std::vector<int> units;
  for (const Box& box : boxes) {
    int n = 0;
    for (const auto& [product, piece] : box.itemsInTheBox) {
      n += piece.countOfUnits;
    }
    units.push_back(n);
  }
  return units;
}

// The one-type script run on every piece of the lines, however many: the
// packing before full boxes were repeated. Gives units per returned box.
// (The lines' products must differ.)
std::vector<int> scriptPieceByPiece(const std::vector<OItem>& lines,
                                    const Box& type) {
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits(lines, &pieces);
  bp_solver::bridge::Session session;
  session.run("from py3dbp import Packer, Bin, Item");
  session.run(bp_solver::bridge::boxStatement(type));
  std::string items = "items = []\n";
  for (const BoxItem& piece : pieces) {
    items += bp_solver::bridge::pieceStatement(piece) + "\n";
  }
  session.run(items);
  session.run(bp_solver::scripts::packing_prelude);
  session.run(bp_solver::scripts::bin_packing3d);
  std::map<std::string, int> unitsOfPiece;
  for (const BoxItem& piece : pieces) {
    const bool unit = piece.itemSpecification.type == ItemSpecification::Unit;
    unitsOfPiece[std::to_string(piece.oItem.productID) +
                 (unit ? ";unit" : ";pack")] = piece.countOfUnits;
  }
  std::vector<int> units;
  for (const auto& record :
       session.evaluateRecords("bin_packing3d(bin, items)")) {
    int n = 0;
    for (const auto& item : record.items) {
      n += unitsOfPiece.at(item.product_no + ";" + item.type);
    }
    units.push_back(n);
  }
  return units;
}

// Every box within the volume of its outer size; unboxed pieces aside.
void expectWithinVolumes(const std::vector<Box>& boxes) {
  for (const Box& box : boxes) {
    if (box.name == "none") continue;
    EXPECT_LE(box.getUsedCapacity(), box.width * box.height * box.depth)
        << box.name;
  }
}

TEST(FullBoxes3DTest, OneLineGivesTheBoxesOfPackingPieceByPiece) {
  // 600 10-cubes (2 x 2 x 4 fit a master box), and 600 packages of four
  // (each 20 x 10 x 10) of a second product.
  const std::vector<OItem> lines{line(1, 7, 600, 10, 10, 10),
                                 line(1, 8, 2400, 10, 10, 10, 4, 2)};
  for (const OItem& one : lines) {
    std::vector<Box> boxes;
    bp_solver::mainSolution3DBP_oneBox_pythonScript({one}, &boxes, master);
    EXPECT_EQ(unitsPerBox(boxes), scriptPieceByPiece({one}, master))
        << "product " << one.productID;
    EXPECT_EQ(unitsByProduct(boxes), orderedByProduct({one}));
    expectWithinVolumes(boxes);
  }
}

TEST(FullBoxes3DTest, PiecesPerBoxOffersNoMoreThanAsked) {
  const OItem cubes = line(1, 7, 600, 10, 10, 10);
  const BoxItem cube(packing::unitPieceSpecification(cubes), cubes);
  EXPECT_EQ(packing::piecesPerBox(master, cube, 600), 16);
  EXPECT_EQ(packing::piecesPerBox(master, cube, 5), 5);
  EXPECT_EQ(packing::piecesPerBox(small, cube, 100), 2);
  EXPECT_EQ(packing::piecesPerBox(Box(5, 5, 5, 10, "tiny", 1.0f), cube, 9), 0);
  const OItem flat = line(1, 9, 600, 10, 0, 10);
  EXPECT_EQ(
      packing::piecesPerBox(
          master, BoxItem(packing::unitPieceSpecification(flat), flat), 600),
      std::nullopt);
}

TEST(FullBoxes3DTest, EveryPackerKeepsEveryUnitOfLargeOrders) {
  std::mt19937 random(15);
  std::uniform_int_distribution<int> lineCount(1, 4), qty(1, 900),
      content(0, 6), side(2, 30);
  const std::vector<Box> types{master, small};
  for (int customer = 1; customer <= 6; ++customer) {
    std::vector<OItem> order;
    const int lines = lineCount(random);
    for (int l = 0; l < lines; ++l) {
      const int packageContent = content(random);
      order.push_back(line(customer, customer * 100 + l, qty(random),
                           static_cast<float>(side(random)),
                           static_cast<float>(side(random)),
                           static_cast<float>(side(random)),
                           packageContent > 1 ? packageContent : 0, 1.5f));
    }
    // Enough units that the customer takes the repeated boxes.
    order.push_back(line(customer, customer * 100 + 9, 700, 6, 7, 9));
    std::vector<Box> one, ffds, counted;
    testing::internal::CaptureStderr();
    bp_solver::mainSolution3DBP_oneBox_pythonScript(order, &one, master);
    bp_solver::mainSolution3DBP_FFDS_multiBoxTypes_pythonScript(order, &ffds,
                                                                types);
    bp_solver::mainSolution3DBP_multipleBoxTypes_countDefined_pythonScript(
        order, &counted, {{master, 40}, {small, 3}});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "")
        << "customer " << customer;
    EXPECT_EQ(unitsByProduct(one), orderedByProduct(order));
    EXPECT_EQ(unitsByProduct(ffds), orderedByProduct(order));
    EXPECT_EQ(unitsByProduct(counted), orderedByProduct(order));
    expectWithinVolumes(one);
    expectWithinVolumes(ffds);
    expectWithinVolumes(counted);
    std::map<std::string, int> used;
    for (const Box& box : counted) ++used[box.name];
    EXPECT_LE(used["masterBox"], 40) << "customer " << customer;
    EXPECT_LE(used["small"], 3) << "customer " << customer;

    // The same order packs to the same boxes every time.
    std::vector<Box> again;
    bp_solver::mainSolution3DBP_oneBox_pythonScript(order, &again, master);
    EXPECT_EQ(unitsPerBox(again), unitsPerBox(one));
  }
}

TEST(FullBoxes3DTest, SmallCustomersArePackedPieceByPiece) {
  // A customer of at most kPatternFromPieces pieces: the script alone, with
  // the small items in the gaps of the large ones' boxes.
  const std::vector<OItem> order{line(1, 20, 5, 20, 20, 20),
                                 line(1, 21, 20, 4, 4, 4)};
  std::vector<Box> boxes;
  bp_solver::mainSolution3DBP_oneBox_pythonScript(order, &boxes, master);
  EXPECT_EQ(unitsPerBox(boxes), scriptPieceByPiece(order, master));
}

}  // namespace
