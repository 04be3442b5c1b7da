#include "model/oitem.h"

#include <string>
#include <utility>

MissingUnitSpecification::MissingUnitSpecification(int customerID,
                                                   int productID)
    : std::invalid_argument("customer " + std::to_string(customerID) +
                            ", product " + std::to_string(productID) +
                            ": no unit specification") {}

OItem::OItem(int customerID, int productID, std::string addressCode, int qty)
    : customerID(customerID),
      productID(productID),
      addressCode(std::move(addressCode)),
      qty(qty),
      wAddress(std::make_shared<const WAddress>(this->addressCode)) {}

void OItem::addItemSpecification(ItemSpecification spec) {
  if (itemSpecifications.count(spec.type)) return;  // the first one stays
  itemSpecifications.edit().emplace(spec.type, std::move(spec));
}

void OItem::countWeightAndVolume() {
  auto unit = itemSpecifications.find(ItemSpecification::Unit);
  if (unit == itemSpecifications.end()) {
    throw MissingUnitSpecification(customerID, productID);
  }
  const ItemSpecification& spec = unit->second;
  weight = static_cast<float>(qty) * spec.weight;
  volume = static_cast<float>(qty) * (spec.x * spec.y * spec.z);
}

const SECTOR_ADDR_T& OItem::location() const {
  static const SECTOR_ADDR_T nowhere;
  return wAddress ? wAddress->point() : nowhere;
}
