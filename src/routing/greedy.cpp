#include <algorithm>
#include <cstddef>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

#include "routing/greedy_edges.h"
#include "routing/route_length.h"
#include "routing/tsp_solver.h"

namespace {

using routing_detail::Candidate;

// The distinct pick locations of a cart: point 0 is the start, point 1 the
// end, then every new (x, y) in item order. Items standing exactly on the
// start or end point belong to that point instead of adding a second point
// with the same coordinates, which would break the leg counts.
struct RoutePoints {
  std::vector<const SECTOR_ADDR_T*> points;
  std::vector<std::vector<int>> itemsAt;  // item indices per point, in order
};

RoutePoints collectPoints(const std::vector<CartOItem>& items,
                          const SECTOR_ADDR_T& start,
                          const SECTOR_ADDR_T& end) {
  RoutePoints route;
  route.points = {&start, &end};
  route.itemsAt.resize(2);
  std::map<std::pair<int, int>, int> seen;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const SECTOR_ADDR_T& location = items[i].oItem.location();
    int point = 0;
    if (location == start) {
      point = 0;
    } else if (location == end) {
      point = 1;
    } else {
      const auto [it, added] =
          seen.try_emplace(std::pair(location.x, location.y),
                           static_cast<int>(route.points.size()));
      if (added) {
        route.points.push_back(&location);
        route.itemsAt.emplace_back();
      }
      point = it->second;
    }
    route.itemsAt[point].push_back(static_cast<int>(i));
  }
  return route;
}

void moveItemsAt(const std::vector<int>& indices,
                 std::vector<CartOItem>& items,
                 std::vector<CartOItem>* order) {
  for (int index : indices) order->push_back(std::move(items[index]));
}

// Every leg between two of the route's points, each measured once.
std::vector<Candidate> buildCandidates(const RoutePoints& route,
                                       Warehouse& warehouse) {
  const int pointCount = static_cast<int>(route.points.size());
  std::vector<Candidate> candidates;
  candidates.reserve(static_cast<std::size_t>(pointCount) *
                     static_cast<std::size_t>(pointCount - 1) / 2);
  for (int i = 0; i < pointCount; ++i) {
    for (int j = i + 1; j < pointCount; ++j) {
      candidates.push_back(
          {i, j, warehouse.distance(*route.points[i], *route.points[j])});
    }
  }
  return candidates;
}

// Walks the accepted legs from the start, picking each point's items on
// arrival; items standing on the end point are picked on arrival there.
// The length of the walk.
int walkPath(const std::vector<Candidate>& path,
             const RoutePoints& route,
             std::vector<CartOItem>& items,
             std::vector<CartOItem>* order) {
  routing_detail::RouteLength total;
  for (const Candidate& leg : path) {
    moveItemsAt(route.itemsAt[leg.a], items, order);
    total.add(leg.length);
  }
  moveItemsAt(route.itemsAt[1], items, order);
  return total.value();
}

}  // namespace

// Walks chains of edges, each from its first remaining edge onwards, and
// reports the first chain that returns to its starting point after a number
// of edges other than pointCount. A loop through all points is therefore not
// reported. An empty list holds no loop.
bool checkForCycle(std::vector<Edge> edges, int pointCount) {
  if (edges.empty()) return false;
  SECTOR_ADDR_T first = edges.front().from;
  SECTOR_ADDR_T cur = edges.front().to;
  edges.erase(edges.begin());
  int len = 1;
  while (true) {
    auto next = edges.begin();
    for (; next != edges.end(); ++next) {
      if (next->from == cur) {
        cur = next->to;
        break;
      }
      if (next->to == cur) {
        cur = next->from;
        break;
      }
    }
    if (next != edges.end()) {
      edges.erase(next);
      ++len;
      if (cur == first && len != pointCount) return true;
      continue;
    }
    if (edges.empty()) return false;
    first = edges.front().from;
    cur = edges.front().to;
    edges.erase(edges.begin());
    len = 1;
  }
}

namespace tsp_solver {

// Greedy edge route over the distinct locations and the start and end, each
// candidate leg measured once (routing_detail::greedyEdgePath).
int greedyAlgorithm(std::vector<CartOItem> items,
                    Warehouse& warehouse,
                    std::vector<CartOItem>* order,
                    SECTOR_ADDR_T start,
                    SECTOR_ADDR_T end) {
  if (order == nullptr) {
    throw std::invalid_argument(
        "greedyAlgorithm: the order list must not be null");
  }
  if (items.size() == 1) {
    const SECTOR_ADDR_T& location = items.front().oItem.location();
    routing_detail::RouteLength total;
    total.add(warehouse.distance(start, location));
    total.add(warehouse.distance(location, end));
    *order = std::move(items);
    return total.value();
  }

  const RoutePoints route = collectPoints(items, start, end);
  const std::vector<Candidate> path = routing_detail::greedyEdgePath(
      static_cast<int>(route.points.size()), buildCandidates(route, warehouse));
  return walkPath(path, route, items, order);
}

}  // namespace tsp_solver
