#include <gtest/gtest.h>

#include <stdexcept>

#include "packing/bin_packing_solver.h"
#include "support/lines.h"

namespace {

using testing_support::line;

struct Cut {
  int packages = 0;
  int units = 0;
  int unitsTotal = 0;
};

Cut count(const std::vector<BoxItem>& pieces) {
  Cut c;
  for (const BoxItem& p : pieces) {
    if (p.itemSpecification.type == ItemSpecification::Unit) {
      ++c.units;
    } else {
      ++c.packages;
    }
    c.unitsTotal += p.getCountOfUnits();
  }
  return c;
}

TEST(CuttingTest, CutsFullPackagesThenUnits) {
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits({line(1, 5, 7, 1, 1, 1, 3, 3)}, &pieces);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].itemSpecification.type, ItemSpecification::Package);
  EXPECT_EQ(pieces[0].getCountOfUnits(), 3);
  EXPECT_EQ(pieces[1].itemSpecification.type, ItemSpecification::Package);
  EXPECT_EQ(pieces[2].itemSpecification.type, ItemSpecification::Unit);
  EXPECT_EQ(pieces[2].oItem.qty, 7);  // the whole line travels with a piece

  pieces.clear();
  cutToPackagesAndUnits({line(1, 5, 2, 1, 1, 1, 3, 3)}, &pieces);
  EXPECT_EQ(count(pieces).packages, 0);
  EXPECT_EQ(count(pieces).units, 2);
}

TEST(CuttingTest, ExactPackagesNeedNoUnitSpecification) {
  OItem packagesOnly(1, 5, "G000502017", 6);
  packagesOnly.addItemSpecification(
      ItemSpecification(5, ItemSpecification::Package, 2, 3, 1, 1, 1, 1));
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits({packagesOnly}, &pieces);
  EXPECT_EQ(count(pieces).packages, 2);
  EXPECT_EQ(count(pieces).units, 0);

  packagesOnly.qty = 7;
  EXPECT_THROW(cutToPackagesAndUnits({packagesOnly}, &pieces),
               std::out_of_range);
  EXPECT_EQ(count(pieces).packages, 4);  // appended before the throw stay
}

TEST(CuttingTest, KeepsLineOrderAndSkipsZeroQuantities) {
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits(
      {line(1, 5, 2, 1, 1, 1), line(1, 6, 0, 1, 1, 1), line(1, 7, 1, 1, 1, 1)},
      &pieces);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].oItem.productID, 5);
  EXPECT_EQ(pieces[1].oItem.productID, 5);
  EXPECT_EQ(pieces[2].oItem.productID, 7);
}

TEST(CuttingTest, PackagesWithoutPositiveContentAreCutIntoUnits) {
  for (int content : {0, -4}) {
    OItem l(1, 5, "G000502017", 9);
    l.addItemSpecification(
        ItemSpecification(5, ItemSpecification::Unit, 1, 1, 1, 1, 1, 1));
    l.addItemSpecification(ItemSpecification(5, ItemSpecification::Package, 2,
                                             content, 1, 1, 1, 1));
    std::vector<BoxItem> pieces;
    cutToPackagesAndUnits({l}, &pieces);
    EXPECT_EQ(count(pieces).packages, 0) << content;
    EXPECT_EQ(count(pieces).unitsTotal, 9) << content;
  }
}

TEST(CuttingTest, AUnitPieceIsOneUnitWhateverTheUnitRowSays) {
  for (int content : {0, 1, 5}) {
    OItem l(1, 5, "G000502017", 4);
    l.addItemSpecification(
        ItemSpecification(5, ItemSpecification::Unit, 1, content, 1, 1, 1, 1));
    std::vector<BoxItem> pieces;
    cutToPackagesAndUnits({l}, &pieces);
    EXPECT_EQ(count(pieces).unitsTotal, 4) << content;
    pieces.clear();
    cutToUnits({l}, &pieces);
    EXPECT_EQ(count(pieces).unitsTotal, 4) << content;
  }
}

TEST(CuttingTest, SplittingFollowsTheCurrentUnitCount) {
  std::vector<BoxItem> pieces;
  cutToPackagesAndUnits({line(1, 5, 7, 1, 1, 1, 3, 3)}, &pieces);
  std::vector<BoxItem> units;
  splitPackageBoxItemToUnits(pieces[0], &units);
  EXPECT_EQ(units.size(), 3u);
  EXPECT_EQ(count(units).unitsTotal, 3);

  units.clear();
  splitPackageBoxItemToUnits(pieces[2], &units);  // a unit passes unchanged
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0].itemSpecification.type, ItemSpecification::Unit);

  units.clear();
  BoxItem emptied = pieces[0];
  emptied.setNumOfUnits(0);
  splitPackageBoxItemToUnits(emptied, &units);
  EXPECT_TRUE(units.empty());
}

}  // namespace
