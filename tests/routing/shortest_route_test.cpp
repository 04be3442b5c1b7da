#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "routing/distance_matrix.h"
#include "routing/path_state.h"
#include "routing/route_fixtures.h"
#include "routing/route_moves.h"
#include "routing/route_search.h"
#include "routing/tsp_solver.h"

using route_fixtures::productsOf;
using route_fixtures::routeEnd;
using route_fixtures::routeStart;
using route_fixtures::stop;

namespace {

// count lines at pairwise distinct locations, none on the start or end.
std::vector<CartOItem> cartOfDistinctLocations(std::mt19937& rng, int count) {
  std::set<std::pair<int, int>> taken{{300, 0}, {620, 0}};
  std::vector<CartOItem> cart;
  while (static_cast<int>(cart.size()) < count) {
    CartOItem line = stop(static_cast<int>(cart.size()) + 1,
                          route_fixtures::randomAddress(rng));
    const SECTOR_ADDR_T& at = line.oItem.location();
    if (taken.insert({at.x, at.y}).second) cart.push_back(std::move(line));
  }
  return cart;
}

// The shortest start-to-end walk through every stop, by the textbook
// recurrence over (visited set, last stop), pushed forward set by set. legs
// is a table of (n + 2) squared legs, from row to column, over stops
// 0 .. n - 1, the start n and the end n + 1.
long plainShortestWalk(int n, const std::vector<long>& legs) {
  auto leg = [&](int from, int to) { return legs[from * (n + 2) + to]; };
  const long unreached = std::numeric_limits<long>::max() / 4;
  const unsigned all = (1u << n) - 1;
  std::vector<long> best((all + 1) * n, unreached);
  for (int s = 0; s < n; ++s) best[(1u << s) * n + s] = leg(n, s);
  for (unsigned set = 1; set <= all; ++set) {
    for (int last = 0; last < n; ++last) {
      const long walked = best[set * n + last];
      if (!(set & (1u << last)) || walked == unreached) continue;
      for (int next = 0; next < n; ++next) {
        if (set & (1u << next)) continue;
        long& entry = best[(set | (1u << next)) * n + next];
        entry = std::min(entry, walked + leg(last, next));
      }
    }
  }
  long shortest = n == 0 ? leg(n, n + 1) : unreached;
  for (int last = 0; last < n; ++last) {
    shortest = std::min(shortest, best[all * n + last] + leg(last, n + 1));
  }
  return shortest;
}

}  // namespace

// Up to the exact limit the route is the shortest there is: brute force over
// every order of the lines up to 8 stops, the plain recurrence above that.
TEST(ShortestRouteTest, ExactUpToTheLimitOnFiveHundredRandomCarts) {
  Warehouse warehouse;
  std::mt19937 rng(1313);
  for (int round = 0; round < 500; ++round) {
    const int n = 1 + round % route_search::kExactStopLimit;
    const std::vector<CartOItem> cart = cartOfDistinctLocations(rng, n);
    std::vector<CartOItem> order;
    bool optimal = false;
    const int length = tsp_solver::shortestRoute(
        cart, warehouse, &order, routeStart(), routeEnd(), &optimal);

    long reference = 0;
    if (n <= 8) {
      std::vector<CartOItem> ignored;
      reference = tsp_solver::bruteForce(cart, warehouse, &ignored,
                                         routeStart(), routeEnd());
    } else {
      std::vector<SECTOR_ADDR_T> points;
      for (const CartOItem& line : cart)
        points.push_back(line.oItem.location());
      points.push_back(routeStart());
      points.push_back(routeEnd());
      std::vector<long> legs;
      for (const SECTOR_ADDR_T& from : points) {
        for (const SECTOR_ADDR_T& to : points) {
          legs.push_back(warehouse.getDistanceBetweenAddresses(from, to));
        }
      }
      reference = plainShortestWalk(n, legs);
    }
    ASSERT_EQ(length, reference) << "round " << round << ", " << n << " stops";
    EXPECT_TRUE(optimal);
    EXPECT_EQ(tsp_solver::justMeasureDistance(order, warehouse, routeStart(),
                                              routeEnd()),
              length);
  }
}

// Lines at one location (also on another level of the same cell) are one
// stop, picked one after the other in their given order; every line stays
// in the pick list, and the length is that of the list as walked.
TEST(ShortestRouteTest, LinesAtOneLocationArePickedTogether) {
  Warehouse warehouse;
  std::mt19937 rng(77);
  for (int round = 0; round < 30; ++round) {
    // 10 to 39 locations, so both the exact and the local search run.
    std::vector<CartOItem> cart = cartOfDistinctLocations(rng, 10 + round % 30);
    const int locations = static_cast<int>(cart.size());
    for (int i = 0; i < locations; i += 2) {
      std::string otherLevel = cart[i].oItem.addressCode;
      otherLevel[6] = otherLevel[6] == '1' ? '2' : '1';
      cart.push_back(stop(1000 + i, otherLevel));
      cart.push_back(stop(2000 + i, cart[i].oItem.addressCode));
    }
    std::shuffle(cart.begin(), cart.end(), rng);

    std::vector<CartOItem> order;
    bool optimal = false;
    const int length = tsp_solver::shortestRoute(
        cart, warehouse, &order, routeStart(), routeEnd(), &optimal);
    EXPECT_EQ(optimal, locations <= route_search::kExactStopLimit);
    EXPECT_EQ(tsp_solver::justMeasureDistance(order, warehouse, routeStart(),
                                              routeEnd()),
              length);
    std::vector<int> sorted = productsOf(order), expected = productsOf(cart);
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(sorted, expected);

    // Each location's lines form one run, in the order they were given.
    std::vector<std::pair<int, int>> runs;
    for (const CartOItem& line : order) {
      const SECTOR_ADDR_T& at = line.oItem.location();
      if (runs.empty() || runs.back() != std::pair(at.x, at.y)) {
        runs.emplace_back(at.x, at.y);
      }
    }
    EXPECT_EQ(static_cast<int>(runs.size()), locations);
    for (std::size_t i = 1; i < order.size(); ++i) {
      if (order[i].oItem.location() == order[i - 1].oItem.location()) {
        auto given = [&](const CartOItem& line) {
          return std::find_if(
              cart.begin(), cart.end(), [&](const CartOItem& l) {
                return l.oItem.productID == line.oItem.productID;
              });
        };
        EXPECT_LT(given(order[i - 1]), given(order[i]));
      }
    }
  }
}

// Above the exact limit the search starts from the better of the greedy and
// nearest-neighbour routes and only keeps improvements: it is never longer
// than either, and the same inputs give the same route.
TEST(ShortestRouteTest, LocalSearchBeatsTheHeuristicsAndRepeatsItself) {
  Warehouse warehouse;
  std::mt19937 rng(2024);
  long greedyTotal = 0, shortestTotal = 0;
  for (int round = 0; round < 20; ++round) {
    const std::vector<CartOItem> cart =
        cartOfDistinctLocations(rng, 16 + 3 * round);
    std::vector<CartOItem> greedy, nearest, first, second;
    const int g = tsp_solver::greedyAlgorithm(cart, warehouse, &greedy,
                                              routeStart(), routeEnd());
    const int nn = tsp_solver::nearestNeighbour(cart, warehouse, &nearest,
                                                routeStart(), routeEnd());
    bool optimal = true;
    const int s = tsp_solver::shortestRoute(cart, warehouse, &first,
                                            routeStart(), routeEnd(), &optimal);
    EXPECT_FALSE(optimal);
    EXPECT_LE(s, std::min(g, nn)) << cart.size() << " stops";
    EXPECT_EQ(tsp_solver::shortestRoute(cart, warehouse, &second, routeStart(),
                                        routeEnd()),
              s);
    EXPECT_EQ(productsOf(first), productsOf(second));
    greedyTotal += g;
    shortestTotal += s;
  }
  // Random carts over the whole floor: well over 5 % shorter in total.
  EXPECT_LT(shortestTotal, greedyTotal * 0.95);
}

// A table of random legs that differ by direction.
std::vector<int> asymmetricLegs(std::mt19937& rng, int n) {
  std::vector<int> legs((n + 2) * (n + 2));
  for (int& leg : legs) leg = static_cast<int>(rng() % 1000);
  return legs;
}

// Sum of the legs walked: start, stops in order, end.
long walked(const DistanceMatrix& legs, const std::vector<int>& order) {
  long total = 0;
  int here = legs.start();
  for (int stop : order) {
    total += legs.leg(here, stop);
    here = stop;
  }
  return total + legs.leg(here, legs.end());
}

TEST(RouteSearchTest, ExactOnLegsThatDifferByDirection) {
  std::mt19937 rng(31);
  for (int round = 0; round < 60; ++round) {
    const int n = round % (route_search::kExactStopLimit + 1);
    const std::vector<int> table = asymmetricLegs(rng, n);
    const DistanceMatrix legs = DistanceMatrix::fromLegs(n, table);
    std::vector<int> stops(n);
    std::iota(stops.begin(), stops.end(), 0);
    const route_search::FoundRoute found =
        route_search::routeStops(legs, stops);
    EXPECT_EQ(
        found.length,
        plainShortestWalk(n, std::vector<long>(table.begin(), table.end())))
        << n << " stops";
    EXPECT_EQ(found.length, walked(legs, found.order));
    EXPECT_TRUE(found.provenOptimal);
  }
}

// The local search's moves claim exactly the change they make, also where
// a stretch walked backwards costs something else than walked forwards.
TEST(RouteSearchTest, MovesGainWhatTheyChangeOnLegsThatDifferByDirection) {
  using route_search::detail::OrOptMove;
  using route_search::detail::PathState;
  using route_search::detail::TwoOptMove;
  std::mt19937 rng(8);
  const int n = 12;
  const DistanceMatrix legs =
      DistanceMatrix::fromLegs(n, asymmetricLegs(rng, n));
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  PathState path(legs, order);
  auto pick = [&](int low, int high) {
    return low + static_cast<int>(rng() % (high - low + 1));
  };
  for (int round = 0; round < 400; ++round) {
    const long before = path.length();
    long gain = 0;
    if (round % 2 == 0) {
      const TwoOptMove move{pick(1, n - 1), pick(2, n)};
      if (!move.isValid(path)) continue;
      gain = move.gain(path);
      move.apply(path);
    } else {
      const int first = pick(1, n);
      const OrOptMove move{first, std::min(n, first + pick(0, 2)), pick(0, n),
                           round % 4 == 1};
      if (!move.isValid(path)) continue;
      gain = move.gain(path);
      move.apply(path);
    }
    const std::vector<int> stops = path.stops();
    ASSERT_EQ(path.length(), walked(legs, stops)) << "round " << round;
    EXPECT_EQ(gain, before - path.length()) << "round " << round;
    std::vector<int> sorted = stops;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ(sorted, order);
    for (int p = 0; p <= n + 1; ++p) ASSERT_EQ(path.positionOf(path.at(p)), p);
  }
}

TEST(RouteSearchTest, RoutesASubsetOfTheMatrixPoints) {
  std::vector<SECTOR_ADDR_T> points;
  for (const char* address : {"G000502017", "VCC0001005", "P000101010"}) {
    points.push_back(OItem(1, 1, address, 1).location());
  }
  const DistanceMatrix legs(points, routeStart(), routeEnd());
  EXPECT_EQ(legs.leg(legs.start(), 0), 234);
  EXPECT_EQ(legs.leg(0, 1), 376);
  EXPECT_EQ(legs.leg(legs.start(), legs.end()), 320);

  const std::vector<int> stops{2, 1};
  const route_search::FoundRoute found = route_search::routeStops(legs, stops);
  // Start, V 246, P 870, end 372; the other way round is longer.
  EXPECT_EQ(found.order, (std::vector<int>{1, 2}));
  EXPECT_EQ(found.length, 246 + 870 + 372);
  EXPECT_TRUE(found.provenOptimal);
  EXPECT_EQ(route_search::routeStops(legs, {}).length, 320);
}

TEST(RouteSearchTest, BadStopsBudgetsAndTablesAreRefused) {
  const DistanceMatrix legs = DistanceMatrix::fromLegs(1, std::vector<int>(9));
  const std::vector<int> outside{1};
  try {
    route_search::routeStops(legs, outside);
    FAIL() << "a stop outside the matrix was routed";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "routeStops: stop 1 is not one of the 1 points");
  }
  try {
    route_search::routeStops(legs, std::vector<int>{0}, {13, -1});
    FAIL() << "a negative budget was taken";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "routeStops: negative iteration budget -1");
  }
  try {
    DistanceMatrix::fromLegs(2, std::vector<int>(9));
    FAIL() << "a table of the wrong size was taken";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "DistanceMatrix: 2 points need 16 legs, got 9");
  }
  std::vector<int> negative(9, 1);
  negative[5] = -4;
  EXPECT_THROW(DistanceMatrix::fromLegs(1, negative), std::invalid_argument);
}
