#pragma once

#include <map>
#include <string>
#include <vector>

#include "model/box_item.h"
#include "model/shared_map.h"

// A shipping box: a box type (name, outer dimensions, weight limit) with the
// goods packed in it, one entry per product number. The same class serves as
// a configured box type and as the template packers copy.
class Box {
 public:
  float capacity = 0;  // width * height * depth * fillFactor
  float freeCapacity = 0;
  float usedCapacity = 0;
  // Keyed by product number; copies of the box share the map (see
  // SharedMap) until one of them takes an item.
  SharedMap<int, BoxItem> itemsInTheBox;
  float width = 0;
  float height = 0;
  float depth = 0;
  float maxWeight = 0;
  std::string name;  // "none": a pseudo-box for goods travelling unboxed
  float fillFactor = 1.0f;

  Box() = default;
  Box(float width,
      float height,
      float depth,
      float maxWeight,
      std::string name,
      float fillFactor);

  float getCapacity() const { return capacity; }
  float getFreeCapacity() const { return freeCapacity; }
  float getUsedCapacity() const { return usedCapacity; }
  std::map<int, BoxItem> getItemsInTheBox() const {
    return itemsInTheBox.map();
  }
  bool isEmpty() const { return usedCapacity == 0.0f; }

  // Merges by product number (an existing entry grows by the incoming
  // specification's contentQty) and books one item's volume. Always true.
  bool addItem(BoxItem& item);
};

// The customer's whole order is one box holding one unit of one product:
// such a customer may join a shared box whatever the shelves' free width,
// and takes no width of its own.
bool isSingleUnit(const std::vector<Box>& boxes);
