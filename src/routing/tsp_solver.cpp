#include "routing/tsp_solver.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <limits>
#include <numeric>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "routing/route_length.h"
#include "types.h"

namespace {

// The plan point a stop is picked at; a reference into the line's shared
// parsed address, so it stays valid while any copy of the line lives.
const SECTOR_ADDR_T& locationOf(const CartOItem& item) {
  return item.oItem.location();
}

void requireOrder(const std::vector<CartOItem>* order, const char* solver) {
  if (order == nullptr) {
    throw std::invalid_argument(std::string(solver) +
                                ": the order list must not be null");
  }
}

// The items in the given index order, moved out of their list.
std::vector<CartOItem> takeInOrder(std::vector<CartOItem>& items,
                                   std::span<const int> indices) {
  std::vector<CartOItem> route;
  route.reserve(indices.size());
  for (int index : indices) route.push_back(std::move(items[index]));
  return route;
}

// Leg lengths between every ordered pair of route points: point 0 is the
// start, 1..n the items in list order, n + 1 the end. Measured in both
// directions, each leg from the point walked from.
class LegTable {
 public:
  LegTable(Warehouse& warehouse,
           std::span<const CartOItem> items,
           const SECTOR_ADDR_T& start,
           const SECTOR_ADDR_T& end)
      : size_(items.size() + 2), legs_(size_ * size_) {
    std::vector<const SECTOR_ADDR_T*> points;
    points.reserve(size_);
    points.push_back(&start);
    for (const CartOItem& item : items) points.push_back(&locationOf(item));
    points.push_back(&end);
    for (std::size_t from = 0; from < size_; ++from) {
      for (std::size_t to = 0; to < size_; ++to) {
        legs_[from * size_ + to] =
            warehouse.distance(*points[from], *points[to]);
      }
    }
  }

  int leg(int from, int to) const {
    return legs_[static_cast<std::size_t>(from) * size_ +
                 static_cast<std::size_t>(to)];
  }

 private:
  std::size_t size_;
  std::vector<int> legs_;
};

}  // namespace

void BruteForcePermutation::nextPermutation(std::vector<int>& p) {
  const int m = static_cast<int>(p.size());
  if (m < 2) return;
  int i = m - 2;
  while (i >= 0 && p[i] >= p[i + 1]) --i;
  if (i < 0) {
    // The last (descending) permutation wraps round to the first.
    std::reverse(p.begin(), p.end());
    return;
  }
  int j = m - 1;
  while (j > i && p[j] <= p[i]) --j;
  std::swap(p[i], p[j]);
  std::reverse(p.begin() + i + 1, p.end());
}

namespace tsp_solver {

int justMeasureDistance(std::vector<CartOItem> items,
                        Warehouse& warehouse,
                        SECTOR_ADDR_T start,
                        SECTOR_ADDR_T end) {
  routing_detail::RouteLength total;
  const SECTOR_ADDR_T* here = &start;
  for (const CartOItem& item : items) {
    const SECTOR_ADDR_T& next = locationOf(item);
    total.add(warehouse.distance(*here, next));
    here = &next;
  }
  total.add(warehouse.distance(*here, end));
  return total.value();
}

// Always walks to the closest remaining stop; among equally close stops the
// one earliest in the remaining list wins, so stops sharing a location are
// taken one after another in list order.
int nearestNeighbour(std::vector<CartOItem> items,
                     Warehouse& warehouse,
                     std::vector<CartOItem>* order,
                     SECTOR_ADDR_T start,
                     SECTOR_ADDR_T end) {
  requireOrder(order, "nearestNeighbour");
  std::vector<int> remaining(items.size());
  std::iota(remaining.begin(), remaining.end(), 0);
  std::vector<int> visits;
  visits.reserve(items.size());

  routing_detail::RouteLength total;
  const SECTOR_ADDR_T* here = &start;
  while (!remaining.empty()) {
    int bestDistance = INT_MAX;
    std::size_t bestPosition = 0;
    for (std::size_t pos = 0; pos < remaining.size(); ++pos) {
      const int d =
          warehouse.distance(*here, locationOf(items[remaining[pos]]));
      if (d < bestDistance) {
        bestDistance = d;
        bestPosition = pos;
      }
    }
    const int chosen = remaining[bestPosition];
    visits.push_back(chosen);
    total.add(bestDistance);
    here = &locationOf(items[chosen]);
    remaining.erase(remaining.begin() +
                    static_cast<std::ptrdiff_t>(bestPosition));
  }
  total.add(warehouse.distance(*here, end));

  *order = takeInOrder(items, visits);
  return total.value();
}

// Tries all n! visiting orders and keeps the first strictly shortest. The
// orders are met in lexicographic order starting from the second one, the
// identity coming last after the wrap-around. Legs are measured once into a
// table; totals are kept in float, as the comparison is defined on them, and
// truncated at the end, clamped to the int range. Refuses more than 12 items
// (n! would overflow int).
int bruteForce(std::vector<CartOItem> items,
               Warehouse& warehouse,
               std::vector<CartOItem>* order,
               SECTOR_ADDR_T start,
               SECTOR_ADDR_T end) {
  requireOrder(order, "bruteForce");
  const int n = static_cast<int>(items.size());
  // Asked once before the legs are measured, so that a cart too large to
  // enumerate is refused before a table of n squared legs is built.
  factorial(n);
  const LegTable legs(warehouse, items, start, end);
  const int endPoint = n + 1;

  std::vector<int> p(items.size());
  std::iota(p.begin(), p.end(), 0);
  std::vector<int> bestPermutation;
  float best = std::numeric_limits<float>::max();
  BruteForcePermutation permutation;

  for (int round = 0; round < factorial(n); ++round) {
    permutation.nextPermutation(p);
    float total = 0;
    int here = 0;
    for (int index : p) {
      const int next = index + 1;
      total += static_cast<float>(legs.leg(here, next));
      here = next;
    }
    total += static_cast<float>(legs.leg(here, endPoint));
    if (total < best) {
      best = total;
      bestPermutation = p;
    }
  }

  *order = takeInOrder(items, bestPermutation);
  return clampToInt(best);
}

}  // namespace tsp_solver
