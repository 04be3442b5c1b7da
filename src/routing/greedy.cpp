#include <algorithm>
#include <cstddef>
#include <map>
#include <numeric>
#include <stdexcept>
#include <utility>
#include <vector>

#include "routing/route_length.h"
#include "routing/tsp_solver.h"

namespace {

// A candidate leg between two route points, named by their indices.
struct Candidate {
  int a = 0;
  int b = 0;
  int length = 0;
};

// Union-find over route points with component sizes. Two points in one
// component are the two ends of one chain of accepted legs, so a leg between
// them closes a loop through exactly the component's points.
class PointSets {
 public:
  explicit PointSets(int count) : parent_(count), size_(count, 1) {
    std::iota(parent_.begin(), parent_.end(), 0);
  }

  int find(int p) {
    while (parent_[p] != p) {
      parent_[p] = parent_[parent_[p]];
      p = parent_[p];
    }
    return p;
  }

  int sizeOf(int root) const { return size_[root]; }

  void unite(int p, int q) {
    int rp = find(p);
    int rq = find(q);
    if (rp == rq) return;
    if (size_[rp] < size_[rq]) std::swap(rp, rq);
    parent_[rq] = rp;
    size_[rp] += size_[rq];
  }

 private:
  std::vector<int> parent_;
  std::vector<int> size_;
};

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
      const auto [it, added] = seen.try_emplace(
          std::pair(location.x, location.y),
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

// Greedy edge route: candidate legs between all distinct locations (and the
// start and end) are taken shortest first (equal lengths in generation
// order) while no location gets a third leg and no loop closes before the
// tour through all points is complete. The start-to-end leg is fixed in the
// tour from the beginning and dropped at the end, leaving a path from start
// to end. Leg counts per point and union-find components decide acceptance
// exactly as re-walking the accepted legs for loops after each one would.
int greedyAlgorithm(std::vector<CartOItem> items, Warehouse& warehouse,
                    std::vector<CartOItem>* order, SECTOR_ADDR_T start,
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
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& l, const Candidate& r) {
                     return l.length < r.length;
                   });

  // The start-to-end leg is in the tour from the outset.
  std::vector<int> legs(pointCount, 0);
  legs[0] = legs[1] = 1;
  PointSets sets(pointCount);
  sets.unite(0, 1);

  // Accepted legs other than the fixed start-to-end one, per point.
  std::vector<std::vector<std::size_t>> legsAt(pointCount);
  std::vector<Candidate> accepted;
  accepted.reserve(static_cast<std::size_t>(pointCount));
  for (const Candidate& c : candidates) {
    if (legs[c.a] >= 2 || legs[c.b] >= 2) continue;
    const int root = sets.find(c.a);
    if (root == sets.find(c.b) && sets.sizeOf(root) != pointCount) continue;
    ++legs[c.a];
    ++legs[c.b];
    sets.unite(c.a, c.b);
    legsAt[c.a].push_back(accepted.size());
    legsAt[c.b].push_back(accepted.size());
    accepted.push_back(c);
  }

  // Walk the path from the start, picking each point's items on arrival.
  std::vector<bool> walked(accepted.size(), false);
  routing_detail::RouteLength total;
  int here = 0;
  for (std::size_t step = 0; step < accepted.size(); ++step) {
    const auto& atHere = legsAt[here];
    const auto leg = std::find_if(atHere.begin(), atHere.end(),
                                  [&](std::size_t e) { return !walked[e]; });
    if (leg == atHere.end()) {
      throw std::logic_error("greedyAlgorithm: the accepted legs do not form "
                             "one path from start to end");
    }
    walked[*leg] = true;
    const Candidate& c = accepted[*leg];
    moveItemsAt(route.itemsAt[here], items, order);
    total.add(c.length);
    here = c.a == here ? c.b : c.a;
  }
  // Items standing on the end point are picked on arrival there.
  moveItemsAt(route.itemsAt[1], items, order);
  return total.value();
}

}  // namespace tsp_solver
