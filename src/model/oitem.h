#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "geometry/waddress.h"
#include "model/item_specification.h"
#include "model/shared_map.h"

// Thrown by countWeightAndVolume for a line without a unit specification:
// bad input, like every other value the planning cannot use.
class MissingUnitSpecification : public std::invalid_argument {
 public:
  MissingUnitSpecification(int customerID, int productID);
};

// One order line of a wave: customer, product, storage address and quantity,
// with at most one packaging specification per type. Copies share one
// immutable parsed address and one map of specifications.
class OItem {
 public:
  float weight = 0;  // set by countWeightAndVolume
  float volume = 0;  // set by countWeightAndVolume
  int customerID = 0;
  int productID = 0;
  std::string addressCode;
  int qty = 0;  // units ordered
  std::shared_ptr<const WAddress> wAddress;
  // By type; copies of the line share the map (see SharedMap).
  SharedMap<ItemSpecification::Type, ItemSpecification> itemSpecifications;

  OItem() = default;
  // Parses addressCode; throws what the address parser throws.
  OItem(int customerID, int productID, std::string addressCode, int qty);

  // Keeps the first specification of each type.
  void addItemSpecification(ItemSpecification spec);
  // weight and volume from the unit specification times qty; throws
  // MissingUnitSpecification when the line has none.
  void countWeightAndVolume();
  float getWeight() const { return weight; }
  float getVolume() const { return volume; }

  // The parsed plan point (all zero for a line without a parsed address).
  const SECTOR_ADDR_T& location() const;
};
