// The exact route: Held-Karp dynamic programming over subsets of stops.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "routing/route_search_detail.h"

namespace route_search::detail {

// best[set * n + last]: the shortest walk from the start through exactly the
// stops of set (a bit mask), ending at last (a member of set). Each entry is
// the minimum over the stop walked from before last; the order is read back
// from the full set by finding, step by step, the predecessor whose entry
// explains the one at hand (the lowest number on a tie).
std::vector<int> exactOrder(const DistanceMatrix& legs) {
  const int n = legs.pointCount();
  if (n > kExactStopLimit) {
    throw std::invalid_argument("exactOrder: " + std::to_string(n) +
                                " stops exceed the exact limit of " +
                                std::to_string(kExactStopLimit));
  }
  if (n == 0) return {};
  constexpr Length kUnreached = std::numeric_limits<Length>::max();
  const std::size_t sets = std::size_t{1} << n;
  const std::size_t stride = static_cast<std::size_t>(n);
  std::vector<Length> best(sets * stride, kUnreached);
  // Legs into each stop, row by row, so the inner loop reads one row.
  std::vector<Length> into(stride * stride);
  for (int to = 0; to < n; ++to) {
    for (int from = 0; from < n; ++from) {
      into[to * stride + from] = legs.leg(from, to);
    }
  }
  for (int s = 0; s < n; ++s) {
    best[(std::size_t{1} << s) * stride + s] = legs.leg(legs.start(), s);
  }
  for (std::size_t set = 1; set < sets; ++set) {
    if ((set & (set - 1)) == 0) continue;  // single stops are seeded above
    for (std::size_t lasts = set; lasts != 0; lasts &= lasts - 1) {
      const int last = std::countr_zero(lasts);
      const std::size_t rest = set ^ (std::size_t{1} << last);
      const Length* before = &best[rest * stride];
      const Length* leg = &into[last * stride];
      Length shortest = kUnreached;
      for (std::size_t froms = rest; froms != 0; froms &= froms - 1) {
        const int from = std::countr_zero(froms);
        shortest = std::min(shortest, before[from] + leg[from]);
      }
      best[set * stride + last] = shortest;
    }
  }

  const std::size_t all = sets - 1;
  std::vector<int> order(stride);
  Length remaining = kUnreached;
  int last = 0;
  for (int s = 0; s < n; ++s) {
    const Length walk = best[all * stride + s] + legs.leg(s, legs.end());
    if (walk < remaining) {
      remaining = walk;
      last = s;
    }
  }
  std::size_t set = all;
  for (int place = n - 1; place > 0; --place) {
    order[place] = last;
    const Length here = best[set * stride + last];
    set ^= std::size_t{1} << last;
    for (int from = 0; from < n; ++from) {
      const Length before = best[set * stride + from];
      if (before != kUnreached && before + legs.leg(from, last) == here) {
        last = from;
        break;
      }
    }
  }
  order[0] = last;
  return order;
}

}  // namespace route_search::detail
