#pragma once

#include <vector>

#include "model/cart_oitem.h"
#include "model/cart_shelf.h"
#include "model/customer.h"
#include "model/setup_configuration.h"

// One picking cart of the plan: shelves with boxes, the customers served,
// the pick list (one entry per customer and product) and the route length.
class Cart {
 public:
  std::vector<Customer> customers;
  std::vector<OItem> items;  // filled only by loadingCustomer_old
  std::vector<CartOItem> cartOItems;
  std::vector<CartShelf> cartShelves;
  float freeSpace = 328860.0f;  // nine standard boxes of 36540
  int maxBoxes = 9;
  int estimatedWalkedDistance = 0;

  // Three shelves 90 wide, 50 high, 45 deep.
  Cart();
  explicit Cart(std::vector<CartShelf> shelves);

  // Places the customer's boxes. True when the whole customer is on the cart;
  // false with the cart unchanged when it does not fit and partial loading is
  // off; false with the rest in *remainingBoxes after a partial or forced
  // load, the customer then listed with only the boxes this cart holds.
  bool loadCustomer(SolverConfiguration& solver,
                    Customer& customer,
                    bool allowPartial,
                    std::vector<Box>* remainingBoxes);
  // loadCustomer's work: the shelf-loading policy, defined beside the
  // packers (packing/customer_packing.cpp).
  bool loadingCustomer_new(SolverConfiguration& solver,
                           Customer& customer,
                           bool allowPartial,
                           std::vector<Box>* remainingBoxes);
  // Books boxes just placed on the shelves for the customer and lists the
  // customer with only those boxes.
  void addLoadedShare(const Customer& customer, std::vector<Box> loaded);
  // The simple loader by box count; not used by the planning run. Refuses
  // a customer with boxes when the cart has no shelf.
  bool loadingCustomer_old(Customer& customer);
  void addOItemWithQty(OItem line, int qty);
  // Adds the goods of boxes just placed to the pick list and takes their
  // used volume off the free space.
  void bookLoadedBoxes(const std::vector<Box>& boxes);

  float getCartFreeSpace() const { return freeSpace; }
  int getEstimatedWalkedDistance() const { return estimatedWalkedDistance; }
  void addToEstimatedWalkedDistance(int d) { estimatedWalkedDistance += d; }
  std::vector<Customer> getCustomerVector() const { return customers; }
  std::vector<OItem> getItemVector() const { return items; }
  std::vector<CartShelf> getCartShelvesVector() const { return cartShelves; }
  std::vector<CartOItem> getCartOItemVector() const { return cartOItems; }
  void setCartOItemVector(std::vector<CartOItem> list) {
    cartOItems = std::move(list);
  }
};
