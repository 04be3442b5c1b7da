#pragma once

#include "model/oitem.h"

// An order line as loaded onto one cart, with the quantity placed there.
class CartOItem {
 public:
  OItem oItem;
  int realQty = 0;

  CartOItem() = default;
  explicit CartOItem(const OItem& line) : oItem(line) {}

  void addToRealQty(int n) { realQty += n; }
  int getRealQty() const { return realQty; }
  OItem getOItem() const { return oItem; }
};
