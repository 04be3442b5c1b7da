#include "routing/route_dispatch.h"

#include <stdexcept>
#include <utility>

#include "routing/tsp_solver.h"

namespace tsp_solver {

int routeBySetting(ShortestPathAlgorithms setting,
                   std::vector<CartOItem> items,
                   Warehouse& warehouse,
                   std::vector<CartOItem>* order,
                   SECTOR_ADDR_T start,
                   SECTOR_ADDR_T end,
                   bool* provenOptimal) {
  if (order == nullptr) {
    throw std::invalid_argument(
        "routeBySetting: the order list must not be null");
  }
  bool optimal = false;
  const bool small = items.size() <= kBruteForceLineLimit;
  int distance = 0;
  switch (setting) {
    case NearestNeighbour:
      distance =
          nearestNeighbour(std::move(items), warehouse, order, start, end);
      break;
    case BruteForceOrNearestNeighbour:
      distance =
          small ? bruteForce(std::move(items), warehouse, order, start, end)
                : nearestNeighbour(std::move(items), warehouse, order, start,
                                   end);
      optimal = small;
      break;
    case GreedyAlgorithm:
      distance =
          greedyAlgorithm(std::move(items), warehouse, order, start, end);
      break;
    case BruteForceOrGreedy:
      distance =
          small
              ? bruteForce(std::move(items), warehouse, order, start, end)
              : greedyAlgorithm(std::move(items), warehouse, order, start, end);
      optimal = small;
      break;
    case JustMeasureDistance:
      distance = justMeasureDistance(items, warehouse, start, end);
      *order = std::move(items);
      break;
    case ShortestRoute:
      distance = shortestRoute(std::move(items), warehouse, order, start, end,
                               &optimal);
      break;
    default:
      *order = std::move(items);  // unknown setting: order kept, unmeasured
      break;
  }
  if (provenOptimal != nullptr) *provenOptimal = optimal;
  return distance;
}

}  // namespace tsp_solver
