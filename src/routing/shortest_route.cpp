// The shortest-route search for a cart's pick list: the lines' distinct
// locations are routed as plain points, and each point's lines are picked
// together on arrival.

#include <cstddef>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "routing/distance_matrix.h"
#include "routing/route_length.h"
#include "routing/route_search.h"
#include "routing/tsp_solver.h"

namespace {

// What the distance oracle reads of a point: lines whose locations agree
// in all of it are one stop (levels of one cell, for instance).
using PointKey = std::tuple<std::string, int, int, int, int>;

PointKey keyOf(const SECTOR_ADDR_T& p) {
  return {p.sector, p.x, p.y, p.xIndex, p.yIndex};
}

}  // namespace

namespace tsp_solver {

int shortestRoute(std::vector<CartOItem> items,
                  Warehouse& warehouse,
                  std::vector<CartOItem>* order,
                  SECTOR_ADDR_T start,
                  SECTOR_ADDR_T end,
                  bool* provenOptimal,
                  const route_search::SearchSettings& settings) {
  (void)warehouse;  // the matrix asks the same stateless oracle
  if (order == nullptr) {
    throw std::invalid_argument(
        "shortestRoute: the order list must not be null");
  }
  std::vector<SECTOR_ADDR_T> points;
  std::vector<std::vector<int>> itemsAt;  // item indices per point, in order
  std::map<PointKey, int> seen;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const SECTOR_ADDR_T& location = items[i].oItem.location();
    const auto [it, added] =
        seen.try_emplace(keyOf(location), static_cast<int>(points.size()));
    if (added) {
      points.push_back(location);
      itemsAt.emplace_back();
    }
    itemsAt[it->second].push_back(static_cast<int>(i));
  }

  const DistanceMatrix legs(points, start, end);
  std::vector<int> stops(points.size());
  for (std::size_t p = 0; p < stops.size(); ++p) stops[p] = static_cast<int>(p);
  const route_search::FoundRoute found =
      route_search::routeStops(legs, stops, settings);

  // The length of the pick list as walked, line by line.
  std::vector<CartOItem> route;
  route.reserve(items.size());
  routing_detail::RouteLength total;
  int here = legs.start();
  for (int point : found.order) {
    for (int index : itemsAt[point]) {
      total.add(legs.leg(here, point));
      here = point;
      route.push_back(std::move(items[index]));
    }
  }
  total.add(legs.leg(here, legs.end()));
  *order = std::move(route);
  if (provenOptimal != nullptr) *provenOptimal = found.provenOptimal;
  return total.value();
}

}  // namespace tsp_solver
