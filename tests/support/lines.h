#pragma once

// Builders of order lines and pieces shared by the tests.

#include <cstddef>
#include <map>
#include <utility>
#include <vector>

#include "model/box.h"
#include "model/cart.h"
#include "model/oitem.h"
#include "wave/stats.h"

namespace testing_support {

// A line with a unit specification of the given dimensions (content 1) and,
// when packageContent > 0, a package of packageContent units whose outer
// dimensions are packageScale times the unit's along x.
inline OItem line(int customer,
                  int product,
                  int qty,
                  float x,
                  float y,
                  float z,
                  int packageContent = 0,
                  float packageScale = 0,
                  const char* address = "G000502017") {
  OItem l(customer, product, address, qty);
  l.addItemSpecification(
      ItemSpecification(product, ItemSpecification::Unit, 1, 1, x, y, z, 0.5f));
  if (packageContent > 0) {
    l.addItemSpecification(ItemSpecification(
        product, ItemSpecification::Package, 2, packageContent,
        x * packageScale, y, z, 0.5f * packageContent));
  }
  l.countWeightAndVolume();
  return l;
}

// Units held by one box, over all its products.
inline long unitsIn(const Box& box) {
  long units = 0;
  for (const auto& [product, piece] : box.itemsInTheBox) {
    units += piece.countOfUnits;
  }
  return units;
}

using UnitsByCustomerProduct = std::map<std::pair<int, int>, long>;

// Adds the units per (customer, product) the boxes hold.
inline void addUnits(const std::vector<Box>& boxes,
                     UnitsByCustomerProduct* units) {
  for (const Box& box : boxes) {
    for (const auto& [product, piece] : box.itemsInTheBox) {
      (*units)[{piece.oItem.customerID, product}] += piece.countOfUnits;
    }
  }
}

// Units per product held by the boxes.
inline std::map<int, long> unitsByProduct(const std::vector<Box>& boxes) {
  std::map<int, long> units;
  for (const Box& box : boxes) {
    for (const auto& [product, piece] : box.itemsInTheBox) {
      units[product] += piece.countOfUnits;
    }
  }
  return units;
}

// Boxes on the cart's shelves, whole-customer and shared ones.
inline std::size_t boxCount(const Cart& cart) {
  const stats::BoxCounts counts = stats::countBoxes(cart);
  return counts.full + counts.shared;
}

inline std::map<int, long> orderedByProduct(const std::vector<OItem>& lines) {
  std::map<int, long> units;
  for (const OItem& l : lines) {
    if (l.qty > 0) units[l.productID] += l.qty;
  }
  return units;
}

}  // namespace testing_support
