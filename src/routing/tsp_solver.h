#pragma once

#include <utility>
#include <vector>

#include "geometry/sector_addr.h"
#include "geometry/warehouse.h"
#include "model/cart_oitem.h"
#include "routing/route_search.h"

// A candidate leg of a greedy route. Ordered by length; equal when the end
// points match in either direction (points compared by x and y).
struct Edge {
  SECTOR_ADDR_T from;
  SECTOR_ADDR_T to;
  int length = 0;

  Edge(SECTOR_ADDR_T from, SECTOR_ADDR_T to, int length)
      : from(std::move(from)), to(std::move(to)), length(length) {}
  bool operator<(const Edge& other) const { return length < other.length; }
  bool operator==(const Edge& other) const {
    return (from == other.from && to == other.to) ||
           (from == other.to && to == other.from);
  }
};

// True when the edges hold a closed loop whose edge count differs from
// pointCount.
bool checkForCycle(std::vector<Edge> edges, int pointCount);

// Lexicographic successor of an index permutation, wrapping around.
class BruteForcePermutation {
 public:
  void nextPermutation(std::vector<int>& p);
};

// n! in int, memoised for the whole process; 1 for n <= 0.
int factorial(int n);

namespace tsp_solver {
// Every route starts at start, visits the items and ends at end; lengths are
// whole decimetres.
int justMeasureDistance(std::vector<CartOItem> items,
                        Warehouse& warehouse,
                        SECTOR_ADDR_T start,
                        SECTOR_ADDR_T end);
int nearestNeighbour(std::vector<CartOItem> items,
                     Warehouse& warehouse,
                     std::vector<CartOItem>* order,
                     SECTOR_ADDR_T start,
                     SECTOR_ADDR_T end);
int bruteForce(std::vector<CartOItem> items,
               Warehouse& warehouse,
               std::vector<CartOItem>* order,
               SECTOR_ADDR_T start,
               SECTOR_ADDR_T end);
int greedyAlgorithm(std::vector<CartOItem> items,
                    Warehouse& warehouse,
                    std::vector<CartOItem>* order,
                    SECTOR_ADDR_T start,
                    SECTOR_ADDR_T end);
// The shortest route search (route_search::routeStops) over the items'
// distinct locations; the lines at one location are picked one after the
// other, in their given order. The length is the returned order's, measured
// line by line as justMeasureDistance does. *provenOptimal, when given, is
// set to whether the route was solved exactly.
int shortestRoute(std::vector<CartOItem> items,
                  Warehouse& warehouse,
                  std::vector<CartOItem>* order,
                  SECTOR_ADDR_T start,
                  SECTOR_ADDR_T end,
                  bool* provenOptimal = nullptr,
                  const route_search::SearchSettings& settings = {});
}  // namespace tsp_solver
