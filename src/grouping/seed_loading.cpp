#include "grouping/seed_loading.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

namespace grouping_customers::detail {

namespace {

// The customer's whole order is one box holding one unit: such a customer
// may join a shared box whatever the shelves' free width.
bool isSingleUnit(const std::vector<Box>& boxes) {
  return boxes.size() == 1 && boxes[0].itemsInTheBox.size() == 1 &&
         boxes[0].itemsInTheBox.begin()->second.countOfUnits == 1;
}

// True only when the boxes cannot all stand on the shelves: a shelf takes a
// box while its free width is at least the box's width, so the placed
// widths never exceed the summed non-negative free widths. The margin keeps
// float rounding of the shelves' used widths from ever refusing a fit.
bool surelyTooWide(const Cart& cart, const std::vector<Box>& boxes) {
  double boxWidth = 0;
  for (const Box& box : boxes) {
    if (!std::isfinite(box.width) || box.width < 0) return false;
    boxWidth += box.width;
  }
  double freeWidth = 0;
  for (const CartShelf& shelf : cart.cartShelves) {
    const float free = shelf.getFreeWidth();
    if (!std::isfinite(free)) return false;
    if (free > 0) freeWidth += free;
  }
  return boxWidth > freeWidth * (1 + 1e-4) + 1e-3;
}

}  // namespace

bool loadWholeCustomer(SolverConfiguration& solver, Cart& cart,
                       Customer& customer) {
  const std::vector<Box>& boxes = customer.boxesDecomp;
  if (!isSingleUnit(boxes) && surelyTooWide(cart, boxes)) return false;
  // Without partial loading the cart copies what it takes and leaves the
  // customer itself untouched.
  return cart.loadCustomer(solver, customer, false, nullptr);
}

std::vector<Cart> loadSeed(SolverConfiguration& solver,
                           const CartConfiguration& carts, Customer seed) {
  std::vector<Cart> loaded;
  loaded.push_back(carts.getCartPattern());
  std::vector<Box> remaining;
  // A false answer with nothing remaining means the last box was forced onto
  // the cart: the seed is complete and needs no further cart.
  while (!loaded.back().loadCustomer(solver, seed, true, &remaining) &&
         !remaining.empty()) {
    if (remaining.size() >= seed.boxesDecomp.size()) {
      throw std::invalid_argument(
          "Cannot load customer " + std::to_string(seed.getCustomerID()) +
          ": no box of it can be placed on an empty cart with " +
          std::to_string(loaded.back().cartShelves.size()) + " shelves");
    }
    loaded.push_back(carts.getCartPattern());
    seed.setBoxesDecomp(std::move(remaining));
    remaining.clear();
  }
  return loaded;
}

void fillCart(SolverConfiguration& solver, Cart& cart, const Ranking& ranking,
              CustomerMultimap& waiting) {
  for (CustomerMultimap::iterator candidate : ranking) {
    if (loadWholeCustomer(solver, cart, candidate->second)) {
      waiting.erase(candidate);
    }
  }
}

std::list<Cart> groupBySeeds(SolverConfiguration& solver,
                             const CartConfiguration& carts,
                             CustomerMultimap& customers,
                             const RankCandidates& rank,
                             const PlacedProgress& progress) {
  const std::size_t total = customers.size();
  std::list<Cart> result;
  while (!customers.empty()) {
    Customer seed = std::move(customers.begin()->second);
    customers.erase(customers.begin());
    std::vector<Cart> seedCarts = loadSeed(solver, carts, seed);
    for (std::size_t i = 0; i + 1 < seedCarts.size(); ++i) {
      result.push_back(std::move(seedCarts[i]));
    }
    Cart& current = seedCarts.back();
    if (!customers.empty()) {
      fillCart(solver, current, rank(seed, customers), customers);
    }
    result.push_back(std::move(current));
    if (progress) progress(total - customers.size());
  }
  return result;
}

}  // namespace grouping_customers::detail
