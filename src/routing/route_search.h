#pragma once

// The shortest-route search over plain plan points: exact for small routes,
// iterated local search above that. Works on a DistanceMatrix, so a caller
// that routes many candidate sets of the same points measures each leg once.
//
//   DistanceMatrix legs(points, routeStart(), routeEnd());
//   route_search::FoundRoute r = route_search::routeStops(legs, {0, 3, 4});
//   // r.order: the stops in visiting order; r.length: start to end.

#include <cstdint>
#include <span>
#include <vector>

#include "routing/distance_matrix.h"

namespace route_search {

// Routes of at most this many stops are solved exactly (dynamic programme
// over subsets); larger ones by the iterated local search.
constexpr int kExactStopLimit = 15;

// The local search's fixed inputs. The same settings and stops give the same
// route on every machine: no clock is read.
struct SearchSettings {
  std::uint32_t seed = 13;
  // The iteration budget: rounds of perturbation and local search per stop
  // of the route (so a route of n stops gets n times as many); 0 stops at
  // the first local optimum.
  int iterationsPerStop = 3;
};

struct FoundRoute {
  std::vector<int> order;  // the stops given, in visiting order
  int length = 0;  // start, stops, end; decimetres, held at the int maximum
  bool provenOptimal = false;  // true when solved exactly
};

// The shortest walk found from legs.start() through every stop to
// legs.end(). Stops are point numbers of legs and may repeat. Throws
// std::out_of_range for a stop that is not a point of legs and
// std::invalid_argument for a negative iteration budget.
FoundRoute routeStops(const DistanceMatrix& legs,
                      std::span<const int> stops,
                      const SearchSettings& settings = {});

}  // namespace route_search
