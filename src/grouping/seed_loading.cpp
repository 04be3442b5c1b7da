#include "grouping/seed_loading.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

#include "packing/bin_packing_solver.h"
#include "packing/piece_helpers.h"

namespace grouping_customers::detail {

double widthOfBoxes(const std::vector<Box>& boxes) {
  if (isSingleUnit(boxes)) return std::nan("");
  double width = 0;
  for (const Box& box : boxes) {
    if (!std::isfinite(box.width) || box.width < 0) return std::nan("");
    width += box.width;
  }
  return width;
}

double freeWidthOf(const Cart& cart) {
  double freeWidth = 0;
  for (const CartShelf& shelf : cart.cartShelves) {
    const float free = shelf.getFreeWidth();
    if (!std::isfinite(free)) return std::nan("");
    if (free > 0) freeWidth += free;
  }
  return freeWidth;
}

bool loadWholeCustomer(SolverConfiguration& solver,
                       Cart& cart,
                       Customer& customer) {
  if (surelyTooWide(widthOfBoxes(customer.boxesDecomp), freeWidthOf(cart))) {
    return false;
  }
  // Without partial loading the cart copies what it takes and leaves the
  // customer itself untouched.
  return cart.loadCustomer(solver, customer, false, nullptr);
}

namespace {

// The boxes of a seed still to be loaded, in loading order (widest first),
// as runs of boxes of the same width. A cart takes boxes in that order, each
// on the first shelf with room, as bpSolver_1D_partlyLoadBoxesToShelvesInCart
// places them. A box that finds no shelf leaves the shelves unchanged, so the
// rest of its run finds none either: a cart takes a prefix of each run, and a
// pass costs the runs and the boxes it places rather than every box left.
class SortedBoxes {
 public:
  explicit SortedBoxes(std::vector<Box> sorted) : boxes_(std::move(sorted)) {
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
      if (i == 0 || std::bit_cast<std::uint32_t>(boxes_[i].width) !=
                        std::bit_cast<std::uint32_t>(boxes_[i - 1].width)) {
        runs_.push_back({i, i});
      }
      runs_.back().end = i + 1;
    }
    left_ = boxes_.size();
  }

  std::size_t size() const { return left_; }

  // Places boxes on the shelves; returns them in loading order.
  std::vector<Box> placeOn(std::vector<CartShelf>& shelves) {
    std::vector<Box> placed;
    for (Run& run : runs_) {
      for (; run.next < run.end; ++run.next) {
        Box& box = boxes_[run.next];
        auto shelf = std::find_if(shelves.begin(), shelves.end(),
                                  [&box](const CartShelf& s) {
                                    return s.getFreeWidth() >= box.width;
                                  });
        if (shelf == shelves.end()) break;
        shelf->addBox_fullItemized(box);
        placed.push_back(std::move(box));
      }
    }
    std::erase_if(runs_, [](const Run& run) { return run.next == run.end; });
    left_ -= placed.size();
    return placed;
  }

  // The boxes left, in loading order.
  std::vector<Box> release() {
    std::vector<Box> rest;
    rest.reserve(left_);
    for (const Run& run : runs_) {
      for (std::size_t i = run.next; i < run.end; ++i) {
        rest.push_back(std::move(boxes_[i]));
      }
    }
    runs_.clear();
    left_ = 0;
    return rest;
  }

 private:
  struct Run {
    std::size_t next;
    std::size_t end;
  };
  std::vector<Box> boxes_;
  std::vector<Run> runs_;
  std::size_t left_ = 0;
};

}  // namespace

std::vector<Cart> loadSeed(SolverConfiguration& solver,
                           const CartConfiguration& carts,
                           Customer seed) {
  std::vector<Cart> loaded;
  loaded.push_back(carts.getCartPattern());
  std::vector<Box> boxes = std::move(seed.boxesDecomp);
  seed.setBoxesDecomp({});
  // Boxes already in loading order stay in it whatever a cart takes, so
  // they are sorted once and taken run by run while at least two remain and
  // a box finds room. The first cart, a single box (which may be a single
  // unit joining a shared box) and a cart on which no box finds room (whose
  // boxes are forced on) are loaded by the cart itself.
  bool sorted = false;
  while (true) {
    if (sorted && boxes.size() >= 2) {
      SortedBoxes rest(std::move(boxes));
      while (rest.size() >= 2) {
        std::vector<Box> placed = rest.placeOn(loaded.back().cartShelves);
        if (placed.empty()) break;
        loaded.back().addLoadedShare(seed, std::move(placed));
        if (rest.size() == 0) return loaded;
        loaded.push_back(carts.getCartPattern());
      }
      boxes = rest.release();
    }
    seed.setBoxesDecomp(std::move(boxes));
    std::vector<Box> remaining;
    Cart& cart = loaded.back();
    // A false answer with nothing remaining means the last box was forced
    // onto the cart: the seed is complete and needs no further cart.
    if (cart.loadCustomer(solver, seed, true, &remaining) ||
        remaining.empty()) {
      return loaded;
    }
    if (remaining.size() >= seed.boxesDecomp.size()) {
      throw std::invalid_argument(
          "Cannot load customer " + std::to_string(seed.getCustomerID()) +
          ": no box of it can be placed on an empty cart with " +
          std::to_string(cart.cartShelves.size()) + " shelves");
    }
    // A partial load leaves the rest in loading order, a forced one in the
    // customer's order.
    sorted = std::is_sorted(remaining.begin(), remaining.end(),
                            [](const Box& a, const Box& b) {
                              return packing::orderedValue(a.width) >
                                     packing::orderedValue(b.width);
                            });
    boxes = std::move(remaining);
    seed.setBoxesDecomp({});
    loaded.push_back(carts.getCartPattern());
  }
}

namespace {

// A customer waiting for a cart, with the summed width of its boxes.
struct Waiting {
  Candidate candidate;
  double width;
};

// What the fit tests read of every customer, by multimap position: the
// summed width of its boxes (see widthOfBoxes), whether it is a single unit
// and then the volume of that unit, and its box widths in loading order
// (those of customer i are ordered[starts[i]] up to ordered[starts[i + 1]]).
struct BoxWidths {
  std::vector<double> sums;
  std::vector<bool> singleUnit;
  std::vector<float> unitVolume;
  std::vector<float> ordered;
  std::vector<std::size_t> starts{0};

  void add(const std::vector<Box>& boxes) {
    sums.push_back(widthOfBoxes(boxes));
    singleUnit.push_back(isSingleUnit(boxes));
    unitVolume.push_back(
        singleUnit.back()
            ? boxes[0].itemsInTheBox.begin()->second.itemSpecification.volume
            : 0.0f);
    const std::vector<float> widths = bp_solver::widthsInLoadingOrder(boxes);
    ordered.insert(ordered.end(), widths.begin(), widths.end());
    starts.push_back(ordered.size());
  }

  std::span<const float> of(std::size_t i) const {
    return std::span<const float>(ordered).subspan(starts[i],
                                                   starts[i + 1] - starts[i]);
  }
};

// The largest free capacity of the cart's shared boxes (those holding
// single units of several customers); -infinity when there is none.
float largestSharedCapacity(const Cart& cart) {
  float largest = -std::numeric_limits<float>::infinity();
  for (const CartShelf& shelf : cart.cartShelves) {
    for (const Box& shared : shelf.getBoxes().oneItemized) {
      // A NaN free capacity takes no unit, and is never the largest.
      if (shared.getFreeCapacity() > largest) {
        largest = shared.getFreeCapacity();
      }
    }
  }
  return largest;
}

// The largest free width of a shelf of the cart; -infinity when there is
// none.
float widestFreeShelf(const Cart& cart) {
  float widest = -std::numeric_limits<float>::infinity();
  for (const CartShelf& shelf : cart.cartShelves) {
    // A NaN free width takes no box, and is never the widest.
    if (shelf.getFreeWidth() > widest) widest = shelf.getFreeWidth();
  }
  return widest;
}

// bp_solver::fitsShelvesByWidth, answered without a pass over the shelves
// when the first box in loading order (the widest) is wider than the widest
// free shelf: no shelf takes it.
bool fitsShelves(std::span<const float> orderedWidths,
                 const std::vector<CartShelf>& shelves,
                 float widestFree) {
  if (!orderedWidths.empty() && orderedWidths.front() > widestFree) {
    return false;
  }
  return bp_solver::fitsShelvesByWidth(orderedWidths, shelves);
}

// Tries the ranked candidates once each on the cart, whole customers only,
// and erases from the waiting customers each one that fits; true at the
// index of each placed one. The cart's free width changes only when a
// customer is placed, so it is measured again only then, as are its widest
// free shelf and the room in its shared boxes. A customer of more than a single
// unit is loaded only when its boxes stand on the shelves by width, which is
// decided here as the cart would decide it, without copying its boxes. So is a
// single unit with single-box volumes: it needs a shared box with the free
// capacity for it (of those, the cart takes one not holding its product) or a
// shelf with the width for its box.
void fillCart(SolverConfiguration& solver,
              Cart& cart,
              const Ranking& ranking,
              const BoxWidths& widths,
              CustomerMultimap& waiting,
              std::vector<bool>& placed) {
  const bool unitsByVolume = !is3DAlgorithm(solver.getBPAlgorithm());
  double freeWidth = freeWidthOf(cart);
  float sharedCapacity = largestSharedCapacity(cart);
  float widestFree = widestFreeShelf(cart);
  for (const Candidate& candidate : ranking) {
    const std::size_t i = candidate.index;
    if (surelyTooWide(widths.sums[i], freeWidth)) continue;
    if (!widths.singleUnit[i] || unitsByVolume) {
      const bool sharedBoxTakes =
          widths.singleUnit[i] && sharedCapacity >= widths.unitVolume[i];
      if (!sharedBoxTakes &&
          !fitsShelves(widths.of(i), cart.cartShelves, widestFree)) {
        continue;
      }
    }
    if (cart.loadCustomer(solver, candidate.customer->second, false, nullptr)) {
      waiting.erase(candidate.customer);
      placed[candidate.index] = true;
      freeWidth = freeWidthOf(cart);
      sharedCapacity = largestSharedCapacity(cart);
      widestFree = widestFreeShelf(cart);
    }
  }
}

}  // namespace

void orderByKeys(Ranking& candidates, const std::vector<std::int64_t>& keys) {
  constexpr std::int64_t kLowest = std::int64_t{INT_MIN} - 1;
  const std::size_t n = candidates.size();
  // The keys of a ranking (truncated distances and scores) mostly lie in a
  // short range: one counting pass orders them stably, as the sort below
  // would, in time linear in the candidates and the range. The lowest key
  // (no score) is counted apart, ahead of every other.
  std::int64_t low = INT_MAX, high = INT_MIN;
  for (std::int64_t key : keys) {
    if (key == kLowest) continue;
    low = std::min(low, key);
    high = std::max(high, key);
  }
  const std::size_t kMaxBuckets = std::max<std::size_t>(4096, 4 * n);
  if (n >= 64 &&
      (low > high || static_cast<std::uint64_t>(high - low) < kMaxBuckets)) {
    // Bucket 0 holds the lowest keys, bucket k + 1 the key low + k.
    const std::size_t buckets =
        low > high ? 1 : static_cast<std::size_t>(high - low) + 2;
    auto bucketOf = [&](std::int64_t key) {
      return key == kLowest ? std::size_t{0}
                            : static_cast<std::size_t>(key - low) + 1;
    };
    std::vector<std::size_t> next(buckets + 1, 0);
    for (std::int64_t key : keys) ++next[bucketOf(key) + 1];
    for (std::size_t b = 1; b <= buckets; ++b) next[b] += next[b - 1];
    Ranking sorted(n);
    for (std::size_t i = 0; i < n; ++i) {
      sorted[next[bucketOf(keys[i])]++] = candidates[i];
    }
    candidates = std::move(sorted);
    return;
  }
  constexpr std::size_t kPositionBits = 31;
  if (n >= (std::size_t{1} << kPositionBits)) {
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(
        order.begin(), order.end(),
        [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    Ranking sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order) sorted.push_back(candidates[i]);
    candidates = std::move(sorted);
    return;
  }
  // Key (33 bits from the lowest key) above position: one integer sort
  // orders by key, then by position, as a stable sort by key would.
  std::vector<std::uint64_t> packed(n);
  for (std::size_t i = 0; i < packed.size(); ++i) {
    packed[i] =
        (static_cast<std::uint64_t>(keys[i] - kLowest) << kPositionBits) | i;
  }
  std::sort(packed.begin(), packed.end());
  Ranking sorted;
  sorted.reserve(packed.size());
  const std::uint64_t positionMask = (std::uint64_t{1} << kPositionBits) - 1;
  for (std::uint64_t p : packed) sorted.push_back(candidates[p & positionMask]);
  candidates = std::move(sorted);
}

std::list<Cart> groupBySeeds(SolverConfiguration& solver,
                             const CartConfiguration& carts,
                             CustomerMultimap& customers,
                             const RankCandidates& rank,
                             const PlacedProgress& progress) {
  const std::size_t total = customers.size();
  BoxWidths widths;
  std::vector<Waiting> waiting;
  waiting.reserve(total);
  // Leaving a candidate out of the ranking because it is too wide for the
  // cart's free width after the seed is sound while that width only
  // shrinks, which holds unless a box has a width that is not finite and
  // non-negative (a NaN width of more than one box).
  bool widthsShrink = true;
  for (auto it = customers.begin(); it != customers.end(); ++it) {
    const std::size_t index = widths.sums.size();
    widths.add(it->second.boxesDecomp);
    const double width = widths.sums[index];
    if (std::isnan(width) && !widths.singleUnit[index]) widthsShrink = false;
    waiting.push_back({{it, index}, width});
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
