#include "model/cart.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "packing/bin_packing_solver.h"

Cart::Cart() : cartShelves(3, CartShelf(90, 50, 45)) {}

Cart::Cart(std::vector<CartShelf> shelves) : cartShelves(std::move(shelves)) {}

bool Cart::loadCustomer(SolverConfiguration& solver, Customer& customer,
                        bool allowPartial, std::vector<Box>* remainingBoxes) {
  return loadingCustomer_new(solver, customer, allowPartial, remainingBoxes);
}

bool Cart::loadingCustomer_new(SolverConfiguration& solver, Customer& customer,
                               bool allowPartial,
                               std::vector<Box>* remainingBoxes) {
  const bool singleUnit = isSingleUnit(customer.boxesDecomp);

  if (singleUnit) {
    BoxItem piece = customer.boxesDecomp[0].itemsInTheBox.begin()->second;
    const bool use3D = is3DAlgorithm(solver.getBPAlgorithm());
    for (CartShelf& shelf : cartShelves) {
      for (Box& shared : shelf.getBoxes().oneItemized) {
        // A box keeps its goods by product, so a unit of a product the box
        // already holds would merge into another customer's entry.
        if (shared.itemsInTheBox.count(piece.oItem.productID)) continue;
        // The volume test of the 1D fit test, without copying the box.
        bool fits =
            use3D ? bp_solver::addBoxItemToExisting_oneItemized_Box_3D(shared,
                                                                       piece)
                  : shared.getFreeCapacity() >= piece.itemSpecification.volume;
        if (!fits) continue;
        shared.addItem(piece);
        addOItemWithQty(piece.oItem, 1);
        customers.push_back(customer);
        freeSpace -= customer.getTotalVolume();
        return true;
      }
    }
  }

  // Most customers tried on a filling cart do not fit; that is decided on
  // the box widths before anything is copied.
  const bool fitsWhole =
      bp_solver::fitsShelvesByWidth(customer.boxesDecomp, cartShelves);
  if (!fitsWhole && (!allowPartial || remainingBoxes == nullptr)) return false;

  std::vector<Box> boxes = customer.getBoxesDecomp();
  if (fitsWhole && bp_solver::bpSolver_1D_fitBoxesToShelvesInCart(
                       boxes, &cartShelves, singleUnit)) {
    bookLoadedBoxes(boxes);
    customers.push_back(customer);
    return true;
  }

  if (!allowPartial || remainingBoxes == nullptr) return false;

  std::vector<Box> loaded;
  bool placed = bp_solver::bpSolver_1D_partlyLoadBoxesToShelvesInCart(
      boxes, &cartShelves, remainingBoxes, &loaded);
  if (!placed) {
    // Not even one box finds room: force boxes onto the shelves, one per
    // shelf, so that every loading pass makes progress.
    for (std::size_t i = 0; i < std::min(boxes.size(), cartShelves.size());
         ++i) {
      cartShelves[i].addBox_fullItemized(boxes.front());
      loaded.push_back(std::move(boxes.front()));
      boxes.erase(boxes.begin());
    }
    *remainingBoxes = std::move(boxes);
    std::perror("WARNING: 3 boxes have been loaded to cart by force!\n");
  }

  addLoadedShare(customer, std::move(loaded));
  return false;
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
