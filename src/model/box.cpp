#include "model/box.h"

#include <utility>

Box::Box(float width,
         float height,
         float depth,
         float maxWeight,
         std::string name,
         float fillFactor)
    : capacity(width * height * depth * fillFactor),
      freeCapacity(capacity),
      width(width),
      height(height),
      depth(depth),
      maxWeight(maxWeight),
      name(std::move(name)),
      fillFactor(fillFactor) {}

bool Box::addItem(BoxItem& item) {
  auto [entry, inserted] =
      itemsInTheBox.edit().try_emplace(item.oItem.productID, item);
  if (!inserted) entry->second.countUnitsUp(item.itemSpecification.contentQty);
  freeCapacity -= item.itemSpecification.volume;
  usedCapacity += item.itemSpecification.volume;
  return true;
}

bool isSingleUnit(const std::vector<Box>& boxes) {
  return boxes.size() == 1 && boxes[0].itemsInTheBox.size() == 1 &&
         boxes[0].itemsInTheBox.begin()->second.countOfUnits == 1;
}
