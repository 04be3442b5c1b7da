#pragma once

// Cart building shared by the groupings: loading a cart's first customer
// (splitting it over carts when it does not fit one) and trying ranked
// candidates on the open cart. Internal to the grouping algorithms.

#include <cstdint>
#include <functional>
#include <list>
#include <vector>

#include "grouping/grouping_customers.h"
#include "model/cart.h"
#include "model/cart_configuration.h"
#include "model/customer.h"
#include "model/setup_configuration.h"

namespace grouping_customers::detail {

// Loads the seed onto fresh copies of the cart pattern, allowing partial
// loads: while boxes remain, the filled cart is closed and the rest goes onto
// a new one. Returns every cart the seed occupies in loading order; the last
// one is left open for further customers. A seed whose last box had to be
// forced onto a cart opens no empty cart after it. Throws
// std::invalid_argument when a pass places no box at all (a cart pattern
// without shelves), which would otherwise open carts forever.
std::vector<Cart> loadSeed(SolverConfiguration& solver,
                           const CartConfiguration& carts,
                           Customer seed);

// The summed width of the boxes, for surelyTooWide; NaN (never too wide)
// for a single unit, which may join a shared box, and for widths that are
// not finite and non-negative, whose sum bounds nothing.
double widthOfBoxes(const std::vector<Box>& boxes);

// The summed non-negative free width of the cart's shelves; NaN when a
// shelf's free width is not finite.
double freeWidthOf(const Cart& cart);

// True only when boxes of that summed width cannot all stand on the shelves:
// a shelf takes a box while its free width is at least the box's width, so
// the placed widths never exceed the summed free widths. The margin keeps
// float rounding of the shelves' used widths from ever refusing a fit. False
// when either width is NaN; a greater free width is never too small where a
// smaller one is not.
inline bool surelyTooWide(double boxWidth, double freeWidth) {
  return boxWidth > freeWidth * (1 + 1e-4) + 1e-3;
}

// loadCustomer without partial loading, answered without the attempt when
// the customer's boxes are together wider than the free width of all
// shelves: that attempt would fail and leave the cart unchanged, but only
// after copying the customer's boxes and the cart's shelves.
bool loadWholeCustomer(SolverConfiguration& solver,
                       Cart& cart,
                       Customer& customer);

// A waiting customer offered to a cart: where it waits, and its position in
// the customers as the grouping received them (the index of any table a
// ranking builds beforehand in multimap order).
struct Candidate {
  CustomerMultimap::iterator customer;
  std::size_t index = 0;
};

// The waiting customers in the order they are tried on one cart.
using Ranking = std::vector<Candidate>;

// Reorders the candidates, given in multimap order, for a cart opened by the
// seed. Candidates that could not fit the cart in any case may be left out
// of the ranking beforehand: only the relative order of the others counts.
using RankCandidates =
    std::function<void(const Customer& seed, Ranking& candidates)>;

// Reorders the candidates by ascending key, equal keys in their given order;
// keys[i] is candidates[i]'s and lies in [INT_MIN - 1, INT_MAX].
void orderByKeys(Ranking& candidates, const std::vector<std::int64_t>& keys);

// The seed-and-fill grouping: until no customer waits, the largest waiting
// customer opens a cart (split over carts as needed), the others are ranked
// against it and tried in that order. Carts are returned in completion order.
std::list<Cart> groupBySeeds(SolverConfiguration& solver,
                             const CartConfiguration& carts,
                             CustomerMultimap& customers,
                             const RankCandidates& rank,
                             const PlacedProgress& progress = {});

}  // namespace grouping_customers::detail
