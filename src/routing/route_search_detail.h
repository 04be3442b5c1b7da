#pragma once

// Internal to the shortest-route search. Every function here routes all
// points of its matrix: stops 0 .. n - 1, from legs.start() to legs.end().

#include <cstdint>
#include <span>
#include <vector>

#include "routing/distance_matrix.h"
#include "routing/route_search.h"

namespace route_search::detail {

// Route lengths are summed in 64 bits: a leg may be the int maximum.
using Length = std::int64_t;

// Start, the stops in the given order, end.
Length walkLength(const DistanceMatrix& legs, std::span<const int> order);

// The shortest order, by dynamic programming over subsets of stops; ties
// are broken towards lower stop numbers, the same way on every run.
std::vector<int> exactOrder(const DistanceMatrix& legs);

// Always on to the nearest unvisited stop (the lowest number on a tie).
std::vector<int> nearestNeighbourOrder(const DistanceMatrix& legs);

// The greedy edge order (routing_detail::greedyEdgePath) over the stops.
std::vector<int> greedyEdgeOrder(const DistanceMatrix& legs);

// 2-opt and Or-opt to a local optimum, then settings.iterationsPerStop
// rounds per stop of double-bridge kick and local search, keeping a round's
// order when it is no longer than the one it started from.
std::vector<int> iteratedLocalSearch(const DistanceMatrix& legs,
                                     std::vector<int> order,
                                     const SearchSettings& settings);

}  // namespace route_search::detail
