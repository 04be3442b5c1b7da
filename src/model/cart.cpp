#include "model/cart.h"

#include <utility>

Cart::Cart() : cartShelves(3, CartShelf(90, 50, 45)) {}

Cart::Cart(std::vector<CartShelf> shelves) : cartShelves(std::move(shelves)) {}

bool Cart::loadCustomer(SolverConfiguration& solver,
                        Customer& customer,
                        bool allowPartial,
                        std::vector<Box>* remainingBoxes) {
  return loadingCustomer_new(solver, customer, allowPartial, remainingBoxes);
}

void Cart::addLoadedShare(const Customer& customer, std::vector<Box> loaded) {
  bookLoadedBoxes(loaded);
  customers.push_back(customer.withBoxes(std::move(loaded)));
}

bool Cart::loadingCustomer_old(Customer& customer) {
  const int n = static_cast<int>(customer.boxesDecomp.size());
  if (n > maxBoxes) return false;
  // A cart without shelves has nowhere to put a box.
  if (n > 0 && cartShelves.empty()) return false;
  freeSpace -= static_cast<float>(n) * 29400.0f;
  maxBoxes -= n;
  for (const Box& box : customer.boxesDecomp) {
    cartShelves.front().getBoxes().fullItemized.push_back(box);
  }
  items.insert(items.end(), customer.oItems.begin(), customer.oItems.end());
  customers.push_back(customer);
  return true;
}

void Cart::bookLoadedBoxes(const std::vector<Box>& boxes) {
  for (const Box& box : boxes) {
    for (const auto& entry : box.itemsInTheBox) {
      addOItemWithQty(entry.second.oItem, entry.second.countOfUnits);
    }
    freeSpace -= box.getUsedCapacity();
  }
}

void Cart::addOItemWithQty(OItem line, int qty) {
  for (CartOItem& entry : cartOItems) {
    if (entry.oItem.customerID == line.customerID &&
        entry.oItem.productID == line.productID) {
      entry.addToRealQty(qty);
      return;
    }
  }
  CartOItem entry(line);
  entry.addToRealQty(qty);
  cartOItems.push_back(std::move(entry));
}
