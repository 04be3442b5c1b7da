#pragma once

// The ShortestWalk grouping: a grouping of customers onto carts improved by
// the walks the carts will take. Whole customers are swapped between carts,
// moved to another cart, or a cart is emptied into the others, whenever the
// real cart loading still takes them and the two carts' routes (by the run's
// route setting) get shorter together; an iterated local search with a
// fixed seed and an iteration budget follows.
//
//   std::list<Cart> start = grouping_customers::algorithm_AVGDistances(...);
//   std::list<Cart> carts = grouping_customers::shortestWalk(
//       solver, cartConfig, std::move(start), warehouse);

#include <cstdint>
#include <list>

#include "geometry/warehouse.h"
#include "grouping/walk_plan.h"
#include "model/cart.h"
#include "model/cart_configuration.h"
#include "model/setup_configuration.h"

namespace grouping_customers {

// The seed of the iterated local search.
constexpr std::uint32_t kShortestWalkSeed = 14;

// What one search did: route lengths summed over the carts by the run's
// route setting, decimetres.
struct ShortestWalkReport {
  std::int64_t startLength = 0;
  std::int64_t finalLength = 0;
  int startCarts = 0;
  int finalCarts = 0;
  std::int64_t rounds = 0;  // rounds of the iterated local search
  walk_search::WalkEffort effort;
};

// Improves the carts of a grouping (unrouted, as a grouping returns them)
// and returns them unrouted, in their order, emptied carts left out. A
// customer split over several carts keeps those carts as they are. The
// whole route length never grows and the number of carts never rises.
// solver.effort sets the iteration budget: each unit lets the search
// estimate 480,000 changes, its first local search included, in at most
// 60 rounds per cart or 300 rounds, whichever is more; a negative
// effort throws
// std::invalid_argument. The same carts give the same result on every run.
std::list<Cart> shortestWalk(SolverConfiguration& solver,
                             CartConfiguration& cartConfig,
                             std::list<Cart> start,
                             Warehouse& warehouse,
                             ShortestWalkReport* report = nullptr);

}  // namespace grouping_customers
