#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "routing/route_fixtures.h"
#include "routing/tsp_solver.h"

// The route examples' addresses, points and lines.
using namespace route_fixtures;  // NOLINT(google-build-using-namespace)

namespace {

SECTOR_ADDR_T at(int x, int y) {
  SECTOR_ADDR_T point;
  point.x = x;
  point.y = y;
  return point;
}

struct LiteralRoute {
  int total = 0;
  std::vector<int> products;
  std::vector<int> sortedLengths;
  std::vector<Edge> accepted;  // in acceptance order, without start-end
};

// The greedy edge route done step by step as defined: leg counts by scanning
// the list of accepted end points and a full loop check after every accepted
// leg. Slow, but the reference the solver must agree with.
LiteralRoute literalGreedy(const std::vector<CartOItem>& items,
                           const SECTOR_ADDR_T& start,
                           const SECTOR_ADDR_T& end) {
  Warehouse warehouse;
  LiteralRoute result;
  auto locationOf = [](const CartOItem& item) {
    return item.getOItem().wAddress->getWarehouseWAddress();
  };
  if (items.size() == 1) {
    const SECTOR_ADDR_T location = locationOf(items.front());
    result.total = warehouse.getDistanceBetweenAddresses(start, location) +
                   warehouse.getDistanceBetweenAddresses(location, end);
    result.products = productsOf(items);
    return result;
  }

  std::vector<SECTOR_ADDR_T> points{start, end};
  std::vector<SECTOR_ADDR_T> seen;
  for (const CartOItem& item : items) {
    const SECTOR_ADDR_T location = locationOf(item);
    if (std::find(seen.begin(), seen.end(), location) == seen.end()) {
      seen.push_back(location);
      points.push_back(location);
    }
  }

  std::vector<Edge> candidates;
  for (std::size_t i = 0; i < points.size(); ++i) {
    for (std::size_t j = i + 1; j < points.size(); ++j) {
      candidates.emplace_back(
          points[i], points[j],
          warehouse.getDistanceBetweenAddresses(points[i], points[j]));
    }
  }
  std::stable_sort(candidates.begin(), candidates.end());
  for (const Edge& e : candidates) result.sortedLengths.push_back(e.length);

  const Edge closing(start, end,
                     warehouse.getDistanceBetweenAddresses(start, end));
  std::vector<Edge> chosen{closing};
  std::vector<SECTOR_ADDR_T> ends{start, end};
  for (const Edge& e : candidates) {
    int fromCount = 0;
    int toCount = 0;
    for (const SECTOR_ADDR_T& p : ends) {
      if (p == e.from) {
        ++fromCount;
      } else if (p == e.to) {
        ++toCount;
      }
    }
    if (fromCount == 2 || toCount == 2) continue;
    ends.push_back(e.from);
    ends.push_back(e.to);
    chosen.push_back(e);
    if (checkForCycle(chosen, static_cast<int>(points.size()))) {
      ends.pop_back();
      ends.pop_back();
      chosen.pop_back();
    } else {
      result.accepted.push_back(e);
    }
  }
  chosen.erase(std::find(chosen.begin(), chosen.end(), closing));

  SECTOR_ADDR_T here = start;
  while (!chosen.empty()) {
    auto leg = chosen.begin();
    SECTOR_ADDR_T next;
    for (; leg != chosen.end(); ++leg) {
      if (leg->from == here) {
        next = leg->to;
        break;
      }
      if (leg->to == here) {
        next = leg->from;
        break;
      }
    }
    if (leg == chosen.end()) {
      ADD_FAILURE() << "the accepted legs do not form a path";
      break;
    }
    for (const CartOItem& item : items) {
      if (locationOf(item) == here) {
        result.products.push_back(item.oItem.productID);
      }
    }
    result.total += leg->length;
    here = next;
    chosen.erase(leg);
  }
  return result;
}

bool standsOn(const CartOItem& item, const SECTOR_ADDR_T& point) {
  return item.oItem.location() == point;
}

}  // namespace

TEST(GreedyAlgorithmTest, WorkedExampleAcceptsLegsShortestFirst) {
  Warehouse warehouse;
  const std::vector<CartOItem> cart{stop(1, kAddressV), stop(2, kAddressG),
                                    stop(3, kAddressP)};
  std::vector<CartOItem> order;
  EXPECT_EQ(tsp_solver::greedyAlgorithm(cart, warehouse, &order, routeStart(),
                                        routeEnd()),
            1852);
  EXPECT_EQ(productsOf(order), (std::vector<int>{2, 1, 3}));

  const LiteralRoute literal = literalGreedy(cart, routeStart(), routeEnd());
  EXPECT_EQ(literal.sortedLengths, (std::vector<int>{234, 246, 320, 372, 376,
                                                     494, 566, 636, 692, 870}));
  const SECTOR_ADDR_T v = at(88, 34);
  const SECTOR_ADDR_T g = at(312, 186);
  const SECTOR_ADDR_T p = at(774, 218);
  const std::vector<Edge> expected{Edge(routeStart(), g, 234),
                                   Edge(routeEnd(), p, 372), Edge(v, g, 376),
                                   Edge(v, p, 870)};
  ASSERT_EQ(literal.accepted.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_TRUE(literal.accepted[i] == expected[i]) << "leg " << i;
    EXPECT_EQ(literal.accepted[i].length, expected[i].length) << "leg " << i;
  }
  EXPECT_EQ(literal.total, 1852);
  EXPECT_EQ(literal.products, (std::vector<int>{2, 1, 3}));
}

TEST(GreedyAlgorithmTest, NoItemsWalkStartToEndAndAppendNothing) {
  Warehouse warehouse;
  std::vector<CartOItem> order{stop(9, kAddressP)};
  EXPECT_EQ(tsp_solver::greedyAlgorithm({}, warehouse, &order, routeStart(),
                                        routeEnd()),
            320);
  EXPECT_EQ(productsOf(order), std::vector<int>{9});
}

TEST(GreedyAlgorithmTest, OneItemIsTheTwoLegsThroughIt) {
  Warehouse warehouse;
  std::vector<CartOItem> order;
  EXPECT_EQ(tsp_solver::greedyAlgorithm({stop(2, kAddressG)}, warehouse, &order,
                                        routeStart(), routeEnd()),
            234 + 494);
  EXPECT_EQ(productsOf(order), std::vector<int>{2});
}

TEST(GreedyAlgorithmTest, AppendsToTheOrderAndRefusesANullOne) {
  Warehouse warehouse;
  std::vector<CartOItem> order{stop(9, kAddressP)};
  tsp_solver::greedyAlgorithm({stop(1, kAddressV), stop(2, kAddressG)},
                              warehouse, &order, routeStart(), routeEnd());
  EXPECT_EQ(productsOf(order), (std::vector<int>{9, 2, 1}));
  try {
    tsp_solver::greedyAlgorithm({stop(1, kAddressV), stop(2, kAddressG)},
                                warehouse, nullptr, routeStart(), routeEnd());
    FAIL() << "greedyAlgorithm accepted a null order list";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "greedyAlgorithm: the order list must not be null");
  }
}

TEST(GreedyAlgorithmTest, ItemsAtOneLocationArePickedTogetherInInputOrder) {
  Warehouse warehouse;
  std::vector<CartOItem> order;
  EXPECT_EQ(tsp_solver::greedyAlgorithm(
                {stop(4, kAddressV), stop(2, kAddressG), stop(3, kAddressP),
                 stop(1, kAddressV), stop(5, kAddressG)},
                warehouse, &order, routeStart(), routeEnd()),
            1852);
  EXPECT_EQ(productsOf(order), (std::vector<int>{2, 5, 4, 1, 3}));
}

TEST(GreedyAlgorithmTest, ItemsOnTheStartOrEndPointAreNotLost) {
  Warehouse warehouse;
  // Row A cell 27 lies at (390, 0); a route may start or end right there.
  const std::string onPoint = "VAA0001027";
  const SECTOR_ADDR_T point = pointOnRowA(390);
  ASSERT_TRUE(standsOn(stop(7, onPoint), point));
  const std::vector<CartOItem> others{stop(1, kAddressV), stop(2, kAddressG),
                                      stop(3, kAddressP)};
  std::vector<CartOItem> withStop{stop(7, onPoint)};
  withStop.insert(withStop.end(), others.begin(), others.end());

  // Picked first when the route starts there, last when it ends there; the
  // rest of the route is the one without it.
  std::vector<CartOItem> without;
  std::vector<CartOItem> with;
  const int lengthFromPoint = tsp_solver::greedyAlgorithm(
      others, warehouse, &without, point, routeEnd());
  EXPECT_EQ(tsp_solver::greedyAlgorithm(withStop, warehouse, &with, point,
                                        routeEnd()),
            lengthFromPoint);
  std::vector<int> expected{7};
  for (int product : productsOf(without)) expected.push_back(product);
  EXPECT_EQ(productsOf(with), expected);

  without.clear();
  with.clear();
  const int lengthToPoint = tsp_solver::greedyAlgorithm(
      others, warehouse, &without, routeStart(), point);
  EXPECT_EQ(tsp_solver::greedyAlgorithm(withStop, warehouse, &with,
                                        routeStart(), point),
            lengthToPoint);
  expected = productsOf(without);
  expected.push_back(7);
  EXPECT_EQ(productsOf(with), expected);
}

TEST(GreedyAlgorithmTest, MatchesTheStepByStepProcedureOnRandomCarts) {
  Warehouse warehouse;
  std::mt19937 rng(90210);
  int compared = 0;
  for (int round = 0; round < 300; ++round) {
    const int size = 2 + round % 40;
    std::vector<CartOItem> cart = route_fixtures::randomCart(rng, size);
    // Every fifth line repeats an earlier line's location.
    for (int i = 4; i < size; i += 5) {
      cart[i] = stop(cart[i].oItem.productID,
                     cart[static_cast<std::size_t>(i) / 2].oItem.addressCode);
    }
    const bool onStartOrEnd =
        std::any_of(cart.begin(), cart.end(), [](const CartOItem& item) {
          return standsOn(item, routeStart()) || standsOn(item, routeEnd());
        });
    if (onStartOrEnd) continue;  // outside what the procedure provides for

    const LiteralRoute literal = literalGreedy(cart, routeStart(), routeEnd());
    std::vector<CartOItem> order;
    EXPECT_EQ(tsp_solver::greedyAlgorithm(cart, warehouse, &order, routeStart(),
                                          routeEnd()),
              literal.total)
        << "round " << round;
    EXPECT_EQ(productsOf(order), literal.products) << "round " << round;
    ++compared;
  }
  EXPECT_GT(compared, 250);
}

TEST(CheckForCycleTest, ReportsOnlyLoopsThatCloseBeforeTheTourIsComplete) {
  const SECTOR_ADDR_T a = at(0, 0);
  const SECTOR_ADDR_T b = at(10, 0);
  const SECTOR_ADDR_T c = at(10, 10);
  const SECTOR_ADDR_T d = at(0, 10);
  const SECTOR_ADDR_T e = at(20, 20);
  const std::vector<Edge> triangle{Edge(a, b, 1), Edge(b, c, 1), Edge(c, a, 1)};
  EXPECT_FALSE(checkForCycle(triangle, 3));
  EXPECT_TRUE(checkForCycle(triangle, 4));
  // The same loop with legs listed in mixed directions and order.
  EXPECT_TRUE(checkForCycle({Edge(c, b, 1), Edge(a, c, 1), Edge(a, b, 1)}, 4));

  EXPECT_FALSE(checkForCycle({Edge(a, b, 1), Edge(b, c, 1), Edge(c, d, 1)}, 4));
  EXPECT_FALSE(checkForCycle({Edge(c, d, 1), Edge(a, b, 1), Edge(c, b, 1)}, 4));
  EXPECT_FALSE(checkForCycle({}, 3));

  // A square through all four points is the finished tour.
  EXPECT_FALSE(checkForCycle(
      {Edge(a, b, 1), Edge(b, c, 1), Edge(c, d, 1), Edge(d, a, 1)}, 4));
  // A path first, then a short loop elsewhere in the list.
  EXPECT_TRUE(checkForCycle(
      {Edge(d, e, 1), Edge(a, b, 1), Edge(b, c, 1), Edge(c, a, 1)}, 5));
  // The start-end leg taken twice is a loop of two legs.
  EXPECT_TRUE(checkForCycle({Edge(a, b, 1), Edge(a, b, 1)}, 3));
  EXPECT_FALSE(checkForCycle({Edge(a, b, 1), Edge(b, a, 1)}, 2));
}

TEST(EdgeTest, EqualWhenEndPointsMatchInEitherDirection) {
  SECTOR_ADDR_T a = at(1, 2);
  const SECTOR_ADDR_T b = at(3, 4);
  const SECTOR_ADDR_T c = at(3, 5);
  EXPECT_TRUE(Edge(a, b, 7) == Edge(a, b, 7));
  EXPECT_TRUE(Edge(a, b, 7) == Edge(b, a, 7));
  EXPECT_TRUE(Edge(b, a, 7) == Edge(a, b, 9));
  EXPECT_FALSE(Edge(a, b, 7) == Edge(a, c, 7));
  EXPECT_FALSE(Edge(a, b, 7) == Edge(c, b, 7));
  // Only x and y identify a point.
  SECTOR_ADDR_T relabelled = a;
  relabelled.sector = "G00";
  relabelled.level = 3;
  EXPECT_TRUE(Edge(b, relabelled, 7) == Edge(a, b, 7));
  // Ordering is by length alone.
  EXPECT_TRUE(Edge(a, b, 3) < Edge(a, b, 4));
  EXPECT_FALSE(Edge(c, b, 4) < Edge(a, b, 4));
}
