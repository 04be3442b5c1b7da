#include <gtest/gtest.h>

#include <exception>

#include "model/box_item.h"
#include "model/cart_oitem.h"
#include "model/item_specification.h"
#include "model/oitem.h"

namespace {

ItemSpecification unitSpec(int product, float x, float y, float z, float w) {
  return ItemSpecification(product, ItemSpecification::Unit, 1, 1, x, y, z, w);
}

TEST(OItemTest, CountsWeightAndVolumeFromTheUnitSpecification) {
  OItem line(7, 42, "G000502017", 3);
  line.addItemSpecification(unitSpec(42, 10, 20, 30, 0.5f));
  line.addItemSpecification(
      ItemSpecification(42, ItemSpecification::Package, 2, 6, 1, 1, 1, 99));
  line.countWeightAndVolume();
  EXPECT_FLOAT_EQ(line.getVolume(), 18000.0f);
  EXPECT_FLOAT_EQ(line.getWeight(), 1.5f);
}

TEST(OItemTest, KeepsTheFirstSpecificationOfEachType) {
  OItem line(7, 42, "G000502017", 1);
  line.addItemSpecification(unitSpec(42, 1, 2, 3, 1));
  line.addItemSpecification(unitSpec(42, 9, 9, 9, 9));
  ASSERT_EQ(line.itemSpecifications.size(), 1u);
  EXPECT_FLOAT_EQ(line.itemSpecifications.at(ItemSpecification::Unit).x, 1);
  EXPECT_FLOAT_EQ(line.itemSpecifications.at(ItemSpecification::Unit).volume,
                  6);

  // A copy that gains a package leaves the line as it was.
  OItem copy = line;
  copy.addItemSpecification(
      ItemSpecification(42, ItemSpecification::Package, 2, 6, 4, 4, 4, 1));
  EXPECT_EQ(copy.itemSpecifications.size(), 2u);
  EXPECT_EQ(line.itemSpecifications.size(), 1u);
  EXPECT_EQ(line.itemSpecifications.count(ItemSpecification::Package), 0u);
}

TEST(OItemTest, ALineWithoutUnitSpecificationThrowsAndStaysUnchanged) {
  OItem line(7, 42, "G000502017", 3);
  line.addItemSpecification(
      ItemSpecification(42, ItemSpecification::Package, 2, 6, 1, 1, 1, 1));
  EXPECT_THROW(line.countWeightAndVolume(), std::exception);
  EXPECT_EQ(line.getVolume(), 0.0f);
  EXPECT_EQ(line.getWeight(), 0.0f);
}

TEST(OItemTest, CopiesShareOneParsedAddress) {
  OItem line(7, 42, "G000502017", 3);
  OItem copy = line;
  EXPECT_EQ(copy.wAddress.get(), line.wAddress.get());
  EXPECT_EQ(copy.location().x, 312);
  EXPECT_EQ(copy.location().y, 186);
  OItem empty;
  EXPECT_EQ(empty.location().x, 0);
}

TEST(BoxItemTest, VolumeIsOneItemTruncatedAndUnitsComeFromTheSpecification) {
  OItem line(7, 42, "G000502017", 30);
  BoxItem unit(
      ItemSpecification(42, ItemSpecification::Unit, 1, 1, 99.9f, 1, 1, 1),
      line);
  EXPECT_EQ(unit.getVolume(), 99);
  unit.setNumOfUnits(50);
  EXPECT_EQ(unit.getVolume(), 99);

  BoxItem package(
      ItemSpecification(42, ItemSpecification::Package, 2, 12, 1, 1, 1, 1),
      line);
  EXPECT_EQ(package.getCountOfUnits(), 12);
  package.countUnitsUp(3);
  EXPECT_EQ(package.getCountOfUnits(), 15);
}

TEST(BoxItemTest, HugeVolumesClampToTheIntRange) {
  OItem line(7, 42, "G000502017", 1);
  BoxItem huge(
      ItemSpecification(42, ItemSpecification::Unit, 1, 1, 1e15f, 1e15f, 1, 1),
      line);
  EXPECT_EQ(huge.getVolume(), INT_MAX);
  BoxItem negative(
      ItemSpecification(42, ItemSpecification::Unit, 1, 1, -1e15f, 1e15f, 1, 1),
      line);
  EXPECT_EQ(negative.getVolume(), INT_MIN);
}

TEST(CartOItemTest, StartsAtZeroAndAccumulates) {
  OItem line(7, 42, "G000502017", 3);
  CartOItem entry(line);
  EXPECT_EQ(entry.getRealQty(), 0);
  entry.addToRealQty(2);
  entry.addToRealQty(2);
  EXPECT_EQ(entry.getRealQty(), 4);
  EXPECT_EQ(entry.getOItem().productID, 42);
}

}  // namespace
