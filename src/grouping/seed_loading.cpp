#include "grouping/seed_loading.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace grouping_customers::detail {

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
    // Without partial loading the cart copies what it takes and leaves the
    // customer itself untouched, so no copy is made for the attempt.
    if (cart.loadCustomer(solver, candidate->second, false, nullptr)) {
      waiting.erase(candidate);
    }
  }
}

std::list<Cart> groupBySeeds(SolverConfiguration& solver,
                             const CartConfiguration& carts,
                             CustomerMultimap& customers,
                             const RankCandidates& rank) {
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
  }
  return result;
}

}  // namespace grouping_customers::detail
