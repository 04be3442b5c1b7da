#include "model/box.h"

#include <gtest/gtest.h>

#include "model/cart_shelf.h"
#include "model/setup_configuration.h"

namespace {

BoxItem unitPiece(int product, float volume, int contentQty = 1) {
  OItem line(1, product, "G000502017", 1);
  return BoxItem(ItemSpecification(product, ItemSpecification::Unit, 1,
                                   contentQty, volume, 1, 1, 1),
                 line);
}

TEST(BoxTest, StandardBoxHasTheStandardCapacity) {
  Box box(28, 29, 45, 4000, "masterBox", 1.0f);
  EXPECT_FLOAT_EQ(box.getCapacity(), 36540.0f);
  EXPECT_FLOAT_EQ(box.getFreeCapacity(), 36540.0f);
  EXPECT_TRUE(box.isEmpty());
  Box half(28, 29, 45, 4000, "half", 0.5f);
  EXPECT_FLOAT_EQ(half.getCapacity(), 18270.0f);
}

TEST(BoxTest, AddingTheSameProductMergesByContentQuantity) {
  Box box(28, 29, 45, 4000, "masterBox", 1.0f);
  BoxItem piece = unitPiece(5, 100);
  box.addItem(piece);
  box.addItem(piece);
  ASSERT_EQ(box.getItemsInTheBox().size(), 1u);
  EXPECT_EQ(box.getItemsInTheBox().at(5).getCountOfUnits(), 2);
  EXPECT_FLOAT_EQ(box.getUsedCapacity(), 200);
  EXPECT_FLOAT_EQ(box.getFreeCapacity(), 36340);

  // A merged piece adds its specification's content, not its own count.
  BoxItem counted = unitPiece(5, 100);
  counted.setNumOfUnits(5);
  box.addItem(counted);
  EXPECT_EQ(box.getItemsInTheBox().at(5).getCountOfUnits(), 3);
}

TEST(BoxTest, CopiesKeepTheirOwnGoodsWhenEitherTakesMore) {
  Box box(28, 29, 45, 4000, "masterBox", 1.0f);
  BoxItem piece = unitPiece(5, 100);
  box.addItem(piece);
  Box copy = box;
  BoxItem other = unitPiece(6, 10);
  copy.addItem(other);
  copy.addItem(piece);
  ASSERT_EQ(box.itemsInTheBox.size(), 1u);
  EXPECT_EQ(box.itemsInTheBox.at(5).getCountOfUnits(), 1);
  ASSERT_EQ(copy.itemsInTheBox.size(), 2u);
  EXPECT_EQ(copy.itemsInTheBox.at(5).getCountOfUnits(), 2);

  // And the other way round: the original takes more after the copy.
  Box later = box;
  box.addItem(piece);
  EXPECT_EQ(later.itemsInTheBox.at(5).getCountOfUnits(), 1);
  EXPECT_EQ(box.itemsInTheBox.at(5).getCountOfUnits(), 2);
  const Box empty;
  EXPECT_TRUE(empty.itemsInTheBox.empty());
  EXPECT_EQ(empty.itemsInTheBox.find(5), empty.itemsInTheBox.end());
}

TEST(BoxTest, AZeroVolumeItemLeavesTheBoxReportedEmpty) {
  Box box(28, 29, 45, 4000, "masterBox", 1.0f);
  BoxItem nothing = unitPiece(9, 0);
  box.addItem(nothing);
  EXPECT_TRUE(box.isEmpty());
  EXPECT_EQ(box.getItemsInTheBox().size(), 1u);
}

TEST(CartShelfTest, AddsWidthWithoutCheckingRoom) {
  CartShelf shelf(90, 50, 45);
  Box box(28, 29, 45, 4000, "masterBox", 1.0f);
  shelf.addBox_fullItemized(box);
  shelf.addBox_oneItemized(box);
  shelf.addBox_fullItemized(box);
  EXPECT_FLOAT_EQ(shelf.getFreeWidth(), 6);
  shelf.addBox_fullItemized(box);
  EXPECT_FLOAT_EQ(shelf.getFreeWidth(), -22);
  EXPECT_EQ(shelf.getBoxes().fullItemized.size(), 3u);
  EXPECT_EQ(shelf.getBoxes().oneItemized.size(), 1u);
}

TEST(ConfigurationTest, BoxTypesKeepTheirOrderAndCounts) {
  BoxConfiguration empty;
  EXPECT_EQ(empty.getFirstBox().getCapacity(), 0);
  EXPECT_EQ(empty.getFirstBox().name, "");
  EXPECT_FLOAT_EQ(empty.getFirstBox().fillFactor, 1.0f);

  BoxConfiguration boxes;
  boxes.addBox(Box(28, 29, 45, 4000, "masterBox", 1.0f), 1000);
  boxes.addBox(Box(10, 10, 10, 100, "small", 1.0f), 5000000000L);
  EXPECT_EQ(boxes.getFirstBox().name, "masterBox");
  ASSERT_EQ(boxes.getBoxesVector().size(), 2u);
  EXPECT_EQ(boxes.getBoxesVector()[1].name, "small");
  EXPECT_EQ(boxes.getBoxesWCountVector()[0].second, 1000);
  EXPECT_EQ(boxes.getBoxesWCountVector()[1].second, INT_MAX);
}

TEST(ConfigurationTest, SolverReportsFixedTuningValues) {
  SolverConfiguration solver(FFD_OneBoxType, AVGDistances, GreedyAlgorithm);
  EXPECT_EQ(solver.kMeansIterations, 40);
  EXPECT_EQ(solver.clusterCountFactor, 0.91f);
  EXPECT_EQ(solver.getBPAlgorithm(), FFD_OneBoxType);
  EXPECT_EQ(solver.getGroupingCustomerAlgorithm(), AVGDistances);
  EXPECT_EQ(solver.getShortestPathAlgorithm(), GreedyAlgorithm);
  EXPECT_TRUE(is3DAlgorithm(BP3D_OneBox));
  EXPECT_FALSE(is3DAlgorithm(FFDS_MultipleBoxTypes));
}

}  // namespace
