#pragma once

// Internal to the route solvers: greedy edge selection over numbered points.

#include <vector>

namespace routing_detail {

// A candidate leg between two route points, named by their numbers.
struct Candidate {
  int a = 0;
  int b = 0;
  int length = 0;
};

// The greedy edge path over pointCount points, point 0 the start and point 1
// the end: candidates are taken shortest first (equal lengths in the order
// given) while no point gets a third leg and no loop closes before the tour
// through all points is complete; the start-to-end leg is in the tour from
// the outset and dropped at the end. Returns the accepted legs in walking
// order from the start, each turned so that a is the point walked from.
std::vector<Candidate> greedyEdgePath(int pointCount,
                                      std::vector<Candidate> candidates);

}  // namespace routing_detail
