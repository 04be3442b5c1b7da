#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "packing/bin_packing_solver.h"
#include "support/lines.h"

namespace {

using testing_support::line;
using testing_support::orderedByProduct;
using testing_support::unitsByProduct;

Box boxOf(float capacity, const char* name = "type") {
  return Box(capacity, 1, 1, 100, name, 1.0f);
}

std::vector<int> unitCounts(const std::vector<Box>& boxes) {
  std::vector<int> counts;
  for (const Box& box : boxes) {
    counts.push_back(static_cast<int>(testing_support::unitsIn(box)));
  }
  return counts;
}

TEST(Packing1DTest, NoLinesLeaveOneEmptyBoxForSingleTypePackers) {
  std::vector<Box> boxes;
  bp_solver::baseLineFFD({}, &boxes, boxOf(100));
  EXPECT_EQ(boxes.size(), 1u);
  boxes.clear();
  bp_solver::mainSolution1DFFD_oneBoxType({}, &boxes, boxOf(100));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].isEmpty());
  boxes.clear();
  bp_solver::mainSolution1DFFDS_multipleBoxTypes({}, &boxes, {boxOf(100)});
  EXPECT_TRUE(boxes.empty());
}

TEST(Packing1DTest, FillComparisonsAcceptEqualityAndTruncatePieceVolumes) {
  std::vector<Box> boxes;
  bp_solver::mainSolution1DFFD_oneBoxType({line(1, 5, 2, 50, 1, 1)}, &boxes,
                                          boxOf(100));
  EXPECT_EQ(unitCounts(boxes), std::vector<int>({2}));
  EXPECT_FLOAT_EQ(boxes[0].getFreeCapacity(), 0);

  // 99.9 counts as 99: it joins the box of capacity 99 and overfills it.
  boxes.clear();
  bp_solver::mainSolution1DFFD_oneBoxType({line(1, 5, 1, 99.9f, 1, 1)}, &boxes,
                                          boxOf(99));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_LT(boxes[0].getFreeCapacity(), 0);
}

TEST(Packing1DTest, BaselinePlacesWholeLinesAndOverfillsOwnBoxes) {
  std::vector<Box> boxes;
  bp_solver::baseLineFFD({line(1, 5, 20, 100, 1, 1)}, &boxes, boxOf(5000));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_FLOAT_EQ(boxes[0].getFreeCapacity(), 3000);
  EXPECT_EQ(boxes[0].itemsInTheBox.at(5).countOfUnits, 20);

  boxes.clear();
  bp_solver::baseLineFFD({line(1, 5, 3, 100, 1, 1), line(1, 6, 1, 10, 1, 1)},
                         &boxes, boxOf(250));
  // The 300-volume line gets a new, overfilled box; the small one the first.
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].itemsInTheBox.count(6), 1u);
  EXPECT_EQ(boxes[1].itemsInTheBox.at(5).countOfUnits, 3);
  EXPECT_FLOAT_EQ(boxes[1].getFreeCapacity(), -50);
}

TEST(Packing1DTest, UnitsLargerThanTheBoxGetOverflowBoxesOfTheirOwnSize) {
  std::vector<Box> boxes;
  // One package of three units, each unit larger than the box.
  bp_solver::mainSolution1DFFD_oneBoxType({line(1, 5, 3, 200, 2, 1, 3, 3)},
                                          &boxes, boxOf(150));
  ASSERT_EQ(boxes.size(), 4u);  // the first, empty box and three overflows
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(boxes[i].name, "none");
    EXPECT_FLOAT_EQ(boxes[i].getCapacity(), 400);
    EXPECT_FLOAT_EQ(boxes[i].width, 200);
    EXPECT_FLOAT_EQ(boxes[i].maxWeight, 0.5f);
    EXPECT_EQ(boxes[i].itemsInTheBox.at(5).countOfUnits, 1);
  }
}

TEST(Packing1DTest, PackagesLargerThanTheBoxAreUnpackedThreeThreeThreeOne) {
  std::vector<Box> boxes;
  // A package of ten units of volume 100 into boxes of capacity 350.
  bp_solver::mainSolution1DFFD_oneBoxType({line(1, 5, 10, 100, 1, 1, 10, 10)},
                                          &boxes, boxOf(350));
  EXPECT_EQ(unitCounts(boxes), std::vector<int>({3, 3, 3, 1}));
}

TEST(Packing1DTest, UnpackingUnitsWithoutVolumeTerminatesAndPlacesAll) {
  for (float unitWidth : {0.0f, NAN}) {
    std::vector<Box> boxes;
    OItem shapeless(1, 6, "G000502017", 5);
    shapeless.addItemSpecification(ItemSpecification(6, ItemSpecification::Unit,
                                                     1, 1, unitWidth, 1, 1, 1));
    shapeless.addItemSpecification(
        ItemSpecification(6, ItemSpecification::Package, 2, 5, 200, 1, 1, 1));
    shapeless.countWeightAndVolume();
    // The first line overfills the first box, so no box has room even for
    // a unit of no volume.
    bp_solver::mainSolution1DFFD_oneBoxType(
        {line(1, 5, 1, 99.9f, 1, 1), shapeless}, &boxes, boxOf(99));
    auto units = unitsByProduct(boxes);
    EXPECT_EQ(units[5], 1);
    EXPECT_EQ(units[6], 5);
  }
}

TEST(Packing1DTest, SeveralTypesOpenTheSmallestTypeThatFits) {
  std::vector<Box> boxes;
  bp_solver::mainSolution1DFFDS_multipleBoxTypes(
      {line(1, 5, 1, 15, 1, 1)}, &boxes,
      {boxOf(10, "ten"), boxOf(30, "thirty"), boxOf(20, "twenty")});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].name, "twenty");
}

TEST(Packing1DTest, SeveralTypesUnpackOrOverflowWhatFitsNoType) {
  std::vector<Box> boxes;
  bp_solver::mainSolution1DFFDS_multipleBoxTypes(
      {line(1, 5, 4, 20, 1, 1, 4, 4), line(1, 6, 1, 500, 1, 1)}, &boxes,
      {boxOf(50, "fifty")});
  auto units = unitsByProduct(boxes);
  EXPECT_EQ(units[5], 4);
  EXPECT_EQ(units[6], 1);
  int overflow = 0;
  for (const Box& b : boxes) overflow += b.name == "none";
  EXPECT_EQ(overflow, 1);
}

// Nothing is lost: over many random customers, every packer's boxes hold
// exactly the ordered units, product by product.
TEST(Packing1DTest, EveryPackerKeepsEveryOrderedUnit) {
  std::mt19937 rng(20261207);
  auto uniform = [&](float lo, float hi) {
    return std::uniform_real_distribution<float>(lo, hi)(rng);
  };
  auto pick = [&](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
  };
  const Box standard(28, 29, 45, 4000, "masterBox", 1.0f);
  const std::vector<Box> types = {Box(20, 20, 20, 100, "small", 1.0f), standard,
                                  Box(40, 40, 50, 100, "large", 0.9f)};
  for (int customer = 0; customer < 300; ++customer) {
    std::vector<OItem> lines;
    int lineCount = pick(0, 8);
    for (int i = 0; i < lineCount; ++i) {
      int qty = pick(0, 200);
      float x = uniform(0.5f, 20), y = uniform(0.5f, 20), z = uniform(0.5f, 30);
      if (pick(0, 9) == 0) x = uniform(50, 90);  // larger than every box
      int content = pick(0, 2) == 0 ? 0 : pick(2, 30);
      float scale = uniform(1, 8);  // packages may exceed the box
      lines.push_back(line(customer, 100 + i, qty, x, y, z, content, scale));
    }
    auto expected = orderedByProduct(lines);
    std::vector<Box> boxes;
    bp_solver::baseLineFFD(lines, &boxes, standard);
    EXPECT_EQ(unitsByProduct(boxes), expected) << "baseline " << customer;
    boxes.clear();
    bp_solver::mainSolution1DFFD_oneBoxType(lines, &boxes, standard);
    EXPECT_EQ(unitsByProduct(boxes), expected) << "one type " << customer;
    boxes.clear();
    bp_solver::mainSolution1DFFDS_multipleBoxTypes(lines, &boxes, types);
    EXPECT_EQ(unitsByProduct(boxes), expected) << "several " << customer;
  }
}

TEST(Packing1DTest, ALineWithoutUnitSpecificationThrowsOutOfRange) {
  OItem packageOnly(1, 5, "G000502017", 4);
  packageOnly.addItemSpecification(
      ItemSpecification(5, ItemSpecification::Package, 2, 3, 1, 1, 1, 1));
  std::vector<Box> boxes;
  EXPECT_THROW(
      bp_solver::mainSolution1DFFD_oneBoxType({packageOnly}, &boxes, boxOf(9)),
      std::out_of_range);
  EXPECT_THROW(bp_solver::mainSolution1DFFDS_multipleBoxTypes(
                   {packageOnly}, &boxes, {boxOf(9)}),
               std::out_of_range);
}

}  // namespace
