#include <gtest/gtest.h>

#include "packing/bin_packing_solver.h"
#include "support/lines.h"

namespace {

Box boxOfWidth(float width) {
  return Box(width, 10, 10, 100, "b", 1.0f);
}

std::vector<CartShelf> shelvesWithFree(std::initializer_list<float> free) {
  std::vector<CartShelf> shelves;
  for (float f : free) shelves.emplace_back(f, 50, 45);
  return shelves;
}

TEST(ShelfLoadingTest, AllOrNothingLeavesShelvesUntouchedOnFailure) {
  auto shelves = shelvesWithFree({40, 30});
  bool ok = bp_solver::bpSolver_1D_fitBoxesToShelvesInCart(
      {boxOfWidth(30), boxOfWidth(35), boxOfWidth(25)}, &shelves, false);
  EXPECT_FALSE(ok);
  EXPECT_FLOAT_EQ(shelves[0].getFreeWidth(), 40);
  EXPECT_FLOAT_EQ(shelves[1].getFreeWidth(), 30);
  EXPECT_TRUE(shelves[0].getBoxes().fullItemized.empty());
}

TEST(ShelfLoadingTest, AllOrNothingPlacesWidestFirstOnTheChosenList) {
  auto shelves = shelvesWithFree({40, 30});
  ASSERT_TRUE(bp_solver::bpSolver_1D_fitBoxesToShelvesInCart(
      {boxOfWidth(30), boxOfWidth(35)}, &shelves, true));
  EXPECT_FLOAT_EQ(shelves[0].getFreeWidth(), 5);
  EXPECT_FLOAT_EQ(shelves[1].getFreeWidth(), 0);  // equal width fits
  EXPECT_EQ(shelves[0].getBoxes().oneItemized.size(), 1u);
  EXPECT_TRUE(shelves[0].getBoxes().fullItemized.empty());

  EXPECT_TRUE(
      bp_solver::bpSolver_1D_fitBoxesToShelvesInCart({}, &shelves, false));
}

TEST(ShelfLoadingTest, PartialLoaderPlacesWhatFitsAndReportsTheRest) {
  auto shelves = shelvesWithFree({40, 30});
  std::vector<Box> notLoaded, loaded;
  bool any = bp_solver::bpSolver_1D_partlyLoadBoxesToShelvesInCart(
      {boxOfWidth(30), boxOfWidth(35), boxOfWidth(25)}, &shelves, &notLoaded,
      &loaded);
  EXPECT_TRUE(any);
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_FLOAT_EQ(loaded[0].width, 35);
  EXPECT_FLOAT_EQ(loaded[1].width, 30);
  ASSERT_EQ(notLoaded.size(), 1u);
  EXPECT_FLOAT_EQ(notLoaded[0].width, 25);

  std::vector<Box> none;
  EXPECT_FALSE(bp_solver::bpSolver_1D_partlyLoadBoxesToShelvesInCart(
      {}, &shelves, &none, &none));
}

TEST(ShelfLoadingTest, VolumeFitTestAcceptsEquality) {
  Box box(100, 1, 1, 10, "b", 1.0f);
  OItem l(1, 5, "G000502017", 1);
  BoxItem exact(
      ItemSpecification(5, ItemSpecification::Unit, 1, 1, 100, 1, 1, 1), l);
  BoxItem over(
      ItemSpecification(5, ItemSpecification::Unit, 1, 1, 100.5f, 1, 1, 1), l);
  EXPECT_TRUE(bp_solver::addBoxItemToExisting_oneItemized_Box_1D(box, exact));
  EXPECT_FALSE(bp_solver::addBoxItemToExisting_oneItemized_Box_1D(box, over));
}

}  // namespace
