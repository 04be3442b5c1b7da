// The orders the local search starts from, and the length of an order.

#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

#include "routing/greedy_edges.h"
#include "routing/route_search_detail.h"

namespace route_search::detail {

Length walkLength(const DistanceMatrix& legs, std::span<const int> order) {
  Length total = 0;
  int here = legs.start();
  for (int stop : order) {
    total += legs.leg(here, stop);
    here = stop;
  }
  return total + legs.leg(here, legs.end());
}

std::vector<int> nearestNeighbourOrder(const DistanceMatrix& legs) {
  const int n = legs.pointCount();
  std::vector<bool> visited(static_cast<std::size_t>(n), false);
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(n));
  int here = legs.start();
  for (int step = 0; step < n; ++step) {
    int nearest = -1;
    int shortest = std::numeric_limits<int>::max();
    for (int s = 0; s < n; ++s) {
      if (!visited[s] && (nearest < 0 || legs.leg(here, s) < shortest)) {
        nearest = s;
        shortest = legs.leg(here, s);
      }
    }
    visited[nearest] = true;
    order.push_back(nearest);
    here = nearest;
  }
  return order;
}

// Numbered as the greedy edge path wants them: 0 the start, 1 the end, then
// the stops in their order; each candidate leg measured one way, from the
// lower number, as the cart's greedy route does.
std::vector<int> greedyEdgeOrder(const DistanceMatrix& legs) {
  const int n = legs.pointCount();
  auto pointOf = [&](int number) {
    if (number == 0) return legs.start();
    return number == 1 ? legs.end() : number - 2;
  };
  const int pointCount = n + 2;
  std::vector<routing_detail::Candidate> candidates;
  candidates.reserve(static_cast<std::size_t>(pointCount) *
                     static_cast<std::size_t>(pointCount - 1) / 2);
  for (int i = 0; i < pointCount; ++i) {
    for (int j = i + 1; j < pointCount; ++j) {
      candidates.push_back({i, j, legs.leg(pointOf(i), pointOf(j))});
    }
  }
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(n));
  for (const routing_detail::Candidate& leg :
       routing_detail::greedyEdgePath(pointCount, std::move(candidates))) {
    if (leg.b != 1) order.push_back(pointOf(leg.b));
  }
  return order;
}

}  // namespace route_search::detail
