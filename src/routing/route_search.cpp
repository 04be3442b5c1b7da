#include "routing/route_search.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "routing/route_search_detail.h"
#include "types.h"

namespace route_search {

namespace {

// The legs among the given stops alone, numbered 0 .. n - 1 in their order.
DistanceMatrix legsAmong(const DistanceMatrix& legs,
                         std::span<const int> stops) {
  const int n = static_cast<int>(stops.size());
  auto pointOf = [&](int local) {
    if (local < n) return stops[local];
    return local == n ? legs.start() : legs.end();
  };
  const std::size_t size = stops.size() + 2;
  std::vector<int> table(size * size);
  for (std::size_t from = 0; from < size; ++from) {
    for (std::size_t to = 0; to < size; ++to) {
      table[from * size + to] = legs.leg(pointOf(static_cast<int>(from)),
                                         pointOf(static_cast<int>(to)));
    }
  }
  return DistanceMatrix::fromLegs(n, std::move(table));
}

}  // namespace

FoundRoute routeStops(const DistanceMatrix& legs,
                      std::span<const int> stops,
                      const SearchSettings& settings) {
  for (int stop : stops) {
    if (stop < 0 || stop >= legs.pointCount()) {
      throw std::out_of_range("routeStops: stop " + std::to_string(stop) +
                              " is not one of the " +
                              std::to_string(legs.pointCount()) + " points");
    }
  }
  if (settings.iterationsPerStop < 0) {
    throw std::invalid_argument("routeStops: negative iteration budget " +
                                std::to_string(settings.iterationsPerStop));
  }
  const DistanceMatrix local = legsAmong(legs, stops);
  FoundRoute found;
  std::vector<int> order;
  if (local.pointCount() <= kExactStopLimit) {
    order = detail::exactOrder(local);
    found.provenOptimal = true;
  } else {
    std::vector<int> greedy = detail::greedyEdgeOrder(local);
    std::vector<int> nearest = detail::nearestNeighbourOrder(local);
    order =
        detail::walkLength(local, nearest) < detail::walkLength(local, greedy)
            ? std::move(nearest)
            : std::move(greedy);
    order = detail::iteratedLocalSearch(local, std::move(order), settings);
  }
  const detail::Length length = detail::walkLength(local, order);
  found.length = clampToInt(length);
  found.order.reserve(order.size());
  for (int s : order) found.order.push_back(stops[s]);
  return found;
}

}  // namespace route_search
