#pragma once

// Customers with packed boxes, waves and cart accounting shared by the
// grouping tests.

#include <list>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/cart.h"
#include "model/cart_configuration.h"
#include "model/customer.h"
#include "model/setup_configuration.h"
#include "support/address_generator.h"
#include "support/lines.h"
#include "types.h"
#include "wave/planning_setup.h"
#include "wave/planning_steps.h"

namespace grouping_fixtures {

// One order line: product, units and the unit's dimensions at an address.
struct OrderLine {
  int product;
  int qty;
  float x = 10;
  float y = 10;
  float z = 10;
  const char* address = "G000502017";
};

inline SolverConfiguration solver() {
  return SolverConfiguration(FFD_OneBoxType, AVGDistances, NearestNeighbour);
}

// The standard cart: three shelves 90 wide, each taking three boxes 28 wide.
inline CartConfiguration standardCart() {
  return batchConfiguration().cartConfig;
}

// Groups the customers with algorithm 0 (average distances), 1 (least
// squares) or 2 (k-means), as the planning run dispatches them.
inline std::list<Cart> groupWith(int algorithm,
                                 CartConfiguration& config,
                                 CustomerMultimap& customers) {
  SolverConfiguration s = solver();
  Warehouse warehouse;
  return planning_steps::groupCustomers(algorithm, s, config, customers,
                                        warehouse);
}

// The standard master box, 28 wide, capacity 36540: 36 units of 10x10x10.
inline BoxConfiguration standardBoxes() {
  BoxConfiguration boxes;
  boxes.addBox(Box(28, 29, 45, 4000, "masterBox", 1.0f), 1000);
  return boxes;
}

// A customer whose lines are weighed and packed into standard boxes.
inline Customer customer(int id, const std::vector<OrderLine>& lines) {
  Customer c(id);
  for (const OrderLine& l : lines) {
    c.addOItem(testing_support::line(id, l.product, l.qty, l.x, l.y, l.z, 0, 0,
                                     l.address));
  }
  c.countTotalWeightAndVolume();
  SolverConfiguration packing = solver();
  BoxConfiguration boxes = standardBoxes();
  c.decompIntoBoxes(boxes, packing);
  return c;
}

// A customer of `boxes` full standard boxes (36 units of 1000 each) at one
// address.
inline Customer boxesCustomer(int id,
                              int boxes,
                              const char* address = "G000502017") {
  return customer(id, {{id * 100, boxes * 36, 10, 10, 10, address}});
}

// The planning run's multimap: keyed by total volume, largest first.
inline CustomerMultimap wave(const std::vector<Customer>& customers) {
  CustomerMultimap wave;
  for (const Customer& c : customers) {
    wave.emplace(clampToInt(c.getTotalVolume()), c);
  }
  return wave;
}

// Customer numbers listed on the cart, in loading order.
inline std::vector<int> customerIds(const Cart& cart) {
  std::vector<int> ids;
  for (const Customer& c : cart.customers) ids.push_back(c.getCustomerID());
  return ids;
}

using testing_support::addUnits;
using testing_support::boxCount;
using testing_support::UnitsByCustomerProduct;

// What the carts hold, counted from the shelves and from the pick lists.
struct CartContents {
  UnitsByCustomerProduct onShelves;
  UnitsByCustomerProduct onPickLists;
  std::size_t boxes = 0;
  // Single units that joined a shared box standing on a shelf.
  std::size_t joinedSharedBoxes = 0;
  std::set<int> customers;
  std::size_t cartsWithoutCustomer = 0;
  std::size_t cartsWithoutBox = 0;
};

inline CartContents contents(const std::list<Cart>& carts) {
  CartContents result;
  for (const Cart& cart : carts) {
    if (cart.customers.empty()) ++result.cartsWithoutCustomer;
    for (const Customer& c : cart.customers) {
      result.customers.insert(c.getCustomerID());
    }
    for (const CartShelf& shelf : cart.cartShelves) {
      addUnits(shelf.getBoxes().fullItemized, &result.onShelves);
      addUnits(shelf.getBoxes().oneItemized, &result.onShelves);
      for (const Box& shared : shelf.getBoxes().oneItemized) {
        if (!shared.itemsInTheBox.empty()) {
          result.joinedSharedBoxes += shared.itemsInTheBox.size() - 1;
        }
      }
    }
    result.boxes += boxCount(cart);
    if (boxCount(cart) == 0) ++result.cartsWithoutBox;
    for (const CartOItem& entry : cart.cartOItems) {
      result.onPickLists[{entry.oItem.customerID, entry.oItem.productID}] +=
          entry.realQty;
    }
  }
  return result;
}

// Addresses over the four sectors: the given samples and random variants.
inline std::vector<std::string> sampleAddresses(std::mt19937& random,
                                                int variants) {
  std::vector<std::string> addresses = {"G000502017", "VCC0001005",
                                        "P000101010", "GP00301012"};
  for (int i = 0; i < variants; ++i) {
    addresses.push_back(testing_support::randomAddress(random));
  }
  return addresses;
}

}  // namespace grouping_fixtures
