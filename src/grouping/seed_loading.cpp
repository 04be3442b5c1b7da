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

// The summed width of the boxes, for the test below; NaN (never too wide)
// for a single unit, which may join a shared box, and for widths that are
// not finite and non-negative, whose sum bounds nothing.
double widthOfBoxes(const std::vector<Box>& boxes) {
  if (isSingleUnit(boxes)) return std::nan("");
  double width = 0;
  for (const Box& box : boxes) {
    if (!std::isfinite(box.width) || box.width < 0) return std::nan("");
    width += box.width;
  }
  return width;
}

// The summed non-negative free width of the cart's shelves; NaN when a
// shelf's free width is not finite.
double freeWidthOf(const Cart& cart) {
  double freeWidth = 0;
  for (const CartShelf& shelf : cart.cartShelves) {
    const float free = shelf.getFreeWidth();
    if (!std::isfinite(free)) return std::nan("");
    if (free > 0) freeWidth += free;
  }
  return freeWidth;
}

// True only when boxes of that summed width cannot all stand on the shelves:
// a shelf takes a box while its free width is at least the box's width, so
// the placed widths never exceed the summed free widths. The margin keeps
// float rounding of the shelves' used widths from ever refusing a fit. False
// when either width is NaN.
bool surelyTooWide(double boxWidth, double freeWidth) {
  return boxWidth > freeWidth * (1 + 1e-4) + 1e-3;
}

}  // namespace

bool loadWholeCustomer(SolverConfiguration& solver, Cart& cart,
                       Customer& customer) {
  if (surelyTooWide(widthOfBoxes(customer.boxesDecomp), freeWidthOf(cart))) {
    return false;
  }
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

namespace {

// A customer waiting for a cart, with the summed width of its boxes.
struct Waiting {
  Candidate candidate;
  double width;
};

// Tries the ranked candidates once each on the cart, whole customers only,
// and erases from the waiting customers each one that fits; true at the
// index of each placed one. The cart's free width changes only when a
// customer is placed, so it is measured again only then.
void fillCart(SolverConfiguration& solver, Cart& cart, const Ranking& ranking,
              const std::vector<double>& widths, CustomerMultimap& waiting,
              std::vector<bool>& placed) {
  double freeWidth = freeWidthOf(cart);
  for (const Candidate& candidate : ranking) {
    if (surelyTooWide(widths[candidate.index], freeWidth)) continue;
    if (cart.loadCustomer(solver, candidate.customer->second, false,
                          nullptr)) {
      waiting.erase(candidate.customer);
      placed[candidate.index] = true;
      freeWidth = freeWidthOf(cart);
    }
  }
}

}  // namespace

std::list<Cart> groupBySeeds(SolverConfiguration& solver,
                             const CartConfiguration& carts,
                             CustomerMultimap& customers,
                             const RankCandidates& rank,
                             const PlacedProgress& progress) {
  const std::size_t total = customers.size();
  std::vector<double> widths;
  std::vector<Waiting> waiting;
  widths.reserve(total);
  waiting.reserve(total);
  // Leaving a candidate out of the ranking because it is too wide for the
  // cart's free width after the seed is sound while that width only
  // shrinks, which holds unless a box has a width that is not finite and
  // non-negative (a NaN width of more than one box).
  bool widthsShrink = true;
  for (auto it = customers.begin(); it != customers.end(); ++it) {
    const double width = widthOfBoxes(it->second.boxesDecomp);
    if (std::isnan(width) && !isSingleUnit(it->second.boxesDecomp)) {
      widthsShrink = false;
    }
    waiting.push_back({{it, widths.size()}, width});
    widths.push_back(width);
  }
  std::vector<bool> placed(total, false);

  std::list<Cart> result;
  Ranking candidates;
  while (!customers.empty()) {
    // The waiting entries follow the multimap's order: the first is the
    // largest customer left.
    Customer seed = std::move(waiting.front().candidate.customer->second);
    customers.erase(waiting.front().candidate.customer);
    placed[waiting.front().candidate.index] = true;
    std::vector<Cart> seedCarts = loadSeed(solver, carts, seed);
    for (std::size_t i = 0; i + 1 < seedCarts.size(); ++i) {
      result.push_back(std::move(seedCarts[i]));
    }
    Cart& current = seedCarts.back();
    if (!customers.empty()) {
      const double freeWidth =
          widthsShrink ? freeWidthOf(current) : std::nan("");
      candidates.clear();
      for (std::size_t i = 1; i < waiting.size(); ++i) {
        if (!surelyTooWide(waiting[i].width, freeWidth)) {
          candidates.push_back(waiting[i].candidate);
        }
      }
      rank(seed, candidates);
      fillCart(solver, current, candidates, widths, customers, placed);
    }
    result.push_back(std::move(current));
    std::erase_if(waiting, [&placed](const Waiting& w) {
      return placed[w.candidate.index];
    });
    if (progress) progress(total - customers.size());
  }
  return result;
}

}  // namespace grouping_customers::detail
