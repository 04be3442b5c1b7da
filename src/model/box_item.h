#pragma once

#include "model/item_specification.h"
#include "model/oitem.h"

// A packable piece cut from an order line: one unit or one whole package.
class BoxItem {
 public:
  int countOfUnits = 0;  // product units this piece stands for
  ItemSpecification itemSpecification;
  OItem oItem;

  BoxItem() = default;
  // countOfUnits starts at the specification's contentQty.
  BoxItem(ItemSpecification spec, OItem line);

  void countUnitsUp(int n) { countOfUnits += n; }
  void setNumOfUnits(int n) { countOfUnits = n; }
  int getCountOfUnits() const { return countOfUnits; }
  // Volume of ONE item of the specification, truncated toward zero and
  // clamped to the int range.
  int getVolume() const;
};
