#pragma once

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "model/box.h"
#include "model/oitem.h"
#include "model/setup_configuration.h"

// All order lines of one customer in a wave, their totals and the boxes they
// were packed into. The unit that grouping places onto carts.
class Customer {
 public:
  float totalWeight = 0;
  float totalVolume = 0;
  int customerID = 0;
  std::vector<Box> boxesDecomp;
  std::vector<OItem> oItems;

  explicit Customer(int customerID) : customerID(customerID) {}

  void addOItem(OItem line) { oItems.push_back(std::move(line)); }
  // Adds the lines' volumes and weights to the totals (not reset first).
  void countTotalWeightAndVolume();
  // Appends the boxes of the configured packer to boxesDecomp; values
  // outside 0 to 5 pack nothing. Defined beside the packers
  // (packing/customer_packing.cpp).
  void decompIntoBoxes(BoxConfiguration& boxes, SolverConfiguration& solver);

  std::vector<Box> getBoxesDecomp() const { return boxesDecomp; }
  void setBoxesDecomp(std::vector<Box> boxes) {
    boxesDecomp = std::move(boxes);
  }
  // The customer with its lines and totals but only the given boxes: what a
  // cart holding part of the customer lists.
  Customer withBoxes(std::vector<Box> boxes) const {
    Customer share(customerID);
    share.totalWeight = totalWeight;
    share.totalVolume = totalVolume;
    share.oItems = oItems;
    share.boxesDecomp = std::move(boxes);
    return share;
  }
  float getTotalWeight() const { return totalWeight; }
  float getTotalVolume() const { return totalVolume; }
  int getCustomerID() const { return customerID; }
};

// Customers keyed by total volume (truncated to int), largest first; equal
// keys keep insertion order.
using CustomerMultimap = std::multimap<int, Customer, std::greater<int>>;
