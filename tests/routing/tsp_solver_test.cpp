#include "routing/tsp_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <stdexcept>
#include <vector>

#include "routing/route_fixtures.h"

// The route examples' addresses, points and lines.
using namespace route_fixtures;  // NOLINT(google-build-using-namespace)

namespace {

// Products 1, 2, 3 at V row C cell 5, G row 5 cell 17, P row 1 cell 10.
std::vector<CartOItem> exampleCart() {
  return {stop(1, kAddressV), stop(2, kAddressG), stop(3, kAddressP)};
}

}  // namespace

TEST(TspSolverTest, WorkedExampleOfThreeLinesReproduces) {
  Warehouse warehouse;
  // 246 + 376 + 636 + 372 in the given order.
  EXPECT_EQ(tsp_solver::justMeasureDistance(exampleCart(), warehouse,
                                            routeStart(), routeEnd()),
            1630);

  std::vector<CartOItem> order;
  // 234 + 376 + 870 + 372: G first, as it is closest to the start.
  EXPECT_EQ(tsp_solver::nearestNeighbour(exampleCart(), warehouse, &order,
                                         routeStart(), routeEnd()),
            1852);
  EXPECT_EQ(productsOf(order), (std::vector<int>{2, 1, 3}));

  // The given order is the shortest; it is the identity, tried last.
  EXPECT_EQ(tsp_solver::bruteForce(exampleCart(), warehouse, &order,
                                   routeStart(), routeEnd()),
            1630);
  EXPECT_EQ(productsOf(order), (std::vector<int>{1, 2, 3}));
}

TEST(TspSolverTest, NoItemsMeasureStartStraightToEnd) {
  Warehouse warehouse;
  EXPECT_EQ(
      tsp_solver::justMeasureDistance({}, warehouse, routeStart(), routeEnd()),
      320);
  std::vector<CartOItem> order{stop(9, kAddressG)};
  EXPECT_EQ(tsp_solver::nearestNeighbour({}, warehouse, &order, routeStart(),
                                         routeEnd()),
            320);
  EXPECT_TRUE(order.empty());
  order = {stop(9, kAddressG)};
  EXPECT_EQ(
      tsp_solver::bruteForce({}, warehouse, &order, routeStart(), routeEnd()),
      320);
  EXPECT_TRUE(order.empty());
}

TEST(TspSolverTest, OneItemIsTheTwoLegsThroughIt) {
  Warehouse warehouse;
  const std::vector<CartOItem> cart{stop(2, kAddressG)};
  // start-G 234, G-end 494.
  EXPECT_EQ(tsp_solver::justMeasureDistance(cart, warehouse, routeStart(),
                                            routeEnd()),
            728);
  std::vector<CartOItem> order;
  EXPECT_EQ(tsp_solver::nearestNeighbour(cart, warehouse, &order, routeStart(),
                                         routeEnd()),
            728);
  EXPECT_EQ(productsOf(order), std::vector<int>{2});
  order.clear();
  EXPECT_EQ(
      tsp_solver::bruteForce(cart, warehouse, &order, routeStart(), routeEnd()),
      728);
  EXPECT_EQ(productsOf(order), std::vector<int>{2});
}

TEST(TspSolverTest, NullOrderListIsRefused) {
  Warehouse warehouse;
  try {
    tsp_solver::nearestNeighbour(exampleCart(), warehouse, nullptr,
                                 routeStart(), routeEnd());
    FAIL() << "nearestNeighbour accepted a null order list";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "nearestNeighbour: the order list must not be null");
  }
  try {
    tsp_solver::bruteForce(exampleCart(), warehouse, nullptr, routeStart(),
                           routeEnd());
    FAIL() << "bruteForce accepted a null order list";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "bruteForce: the order list must not be null");
  }
}

TEST(NearestNeighbourTest, EqualDistancesGoToTheEarliestRemainingItem) {
  Warehouse warehouse;
  // Row A cells 21 (278, 0) and 20 (268, 0) lie 5 either side of x 273 on
  // the same line, so both are 5 from that start.
  const SECTOR_ADDR_T start = pointOnRowA(273);
  std::vector<CartOItem> order;
  EXPECT_EQ(tsp_solver::nearestNeighbour(
                {stop(21, "VAA0001021"), stop(20, "VAA0001020")}, warehouse,
                &order, start, routeEnd()),
            5 + 10 + 352);
  EXPECT_EQ(productsOf(order), (std::vector<int>{21, 20}));
  EXPECT_EQ(tsp_solver::nearestNeighbour(
                {stop(20, "VAA0001020"), stop(21, "VAA0001021")}, warehouse,
                &order, start, routeEnd()),
            5 + 10 + 342);
  EXPECT_EQ(productsOf(order), (std::vector<int>{20, 21}));

  // Two lines at one location are taken one after the other in list order.
  EXPECT_EQ(
      tsp_solver::nearestNeighbour({stop(3, kAddressP), stop(1, kAddressV),
                                    stop(2, kAddressG), stop(4, kAddressV)},
                                   warehouse, &order, routeStart(), routeEnd()),
      1852);
  EXPECT_EQ(productsOf(order), (std::vector<int>{2, 1, 4, 3}));
}

TEST(BruteForcePermutationTest,
     StepsThroughAllOrdersLexicographicallyAndWraps) {
  BruteForcePermutation permutation;
  std::vector<int> p{0, 1, 2};
  const std::vector<std::vector<int>> expected{{0, 2, 1}, {1, 0, 2}, {1, 2, 0},
                                               {2, 0, 1}, {2, 1, 0}, {0, 1, 2}};
  for (const auto& next : expected) {
    permutation.nextPermutation(p);
    EXPECT_EQ(p, next);
  }

  std::vector<int> empty;
  permutation.nextPermutation(empty);
  EXPECT_TRUE(empty.empty());
  std::vector<int> single{7};
  permutation.nextPermutation(single);
  EXPECT_EQ(single, std::vector<int>{7});

  // Four indices: 24 steps meet every order once and come back.
  std::vector<int> q{0, 1, 2, 3};
  std::vector<std::vector<int>> seen;
  for (int step = 0; step < 24; ++step) {
    permutation.nextPermutation(q);
    seen.push_back(q);
  }
  EXPECT_EQ(q, (std::vector<int>{0, 1, 2, 3}));
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
}

TEST(BruteForceTest, AmongEquallyShortRoutesTheFirstMeasuredWins) {
  Warehouse warehouse;
  std::vector<CartOItem> order;
  // Every order of lines at one location is equally short; the first order
  // measured is the second lexicographic one.
  EXPECT_EQ(tsp_solver::bruteForce({stop(1, kAddressG), stop(2, kAddressG)},
                                   warehouse, &order, routeStart(), routeEnd()),
            728);
  EXPECT_EQ(productsOf(order), (std::vector<int>{2, 1}));
  EXPECT_EQ(tsp_solver::bruteForce(
                {stop(1, kAddressG), stop(2, kAddressG), stop(3, kAddressG)},
                warehouse, &order, routeStart(), routeEnd()),
            728);
  EXPECT_EQ(productsOf(order), (std::vector<int>{1, 3, 2}));

  // With the start as end, a route and its reverse are equally short.
  const int length =
      tsp_solver::bruteForce({stop(1, kAddressV), stop(2, kAddressP)},
                             warehouse, &order, routeStart(), routeStart());
  EXPECT_EQ(length, 246 + 870 + 692);
  EXPECT_EQ(productsOf(order), (std::vector<int>{2, 1}));
}

TEST(BruteForceTest, FindsTheShortestOfAllOrdersOnRandomCarts) {
  Warehouse warehouse;
  std::mt19937 rng(7301);
  for (int round = 0; round < 40; ++round) {
    const int size = 2 + round % 5;
    const std::vector<CartOItem> cart = route_fixtures::randomCart(rng, size);

    // Every order, measured independently.
    std::vector<int> indices(cart.size());
    std::iota(indices.begin(), indices.end(), 0);
    int shortest = -1;
    do {
      std::vector<CartOItem> walk;
      for (int i : indices) walk.push_back(cart[i]);
      const int length = tsp_solver::justMeasureDistance(
          walk, warehouse, routeStart(), routeEnd());
      if (shortest < 0 || length < shortest) shortest = length;
    } while (std::next_permutation(indices.begin(), indices.end()));

    std::vector<CartOItem> order;
    const int best = tsp_solver::bruteForce(cart, warehouse, &order,
                                            routeStart(), routeEnd());
    EXPECT_EQ(best, shortest);
    EXPECT_EQ(tsp_solver::justMeasureDistance(order, warehouse, routeStart(),
                                              routeEnd()),
              best);
  }
}

TEST(BruteForceTest, RefusesCartsWhoseOrderCountOverflowsInt) {
  Warehouse warehouse;
  std::vector<CartOItem> cart;
  for (int product = 1; product <= 13; ++product) {
    cart.push_back(stop(product, kAddressG));
  }
  std::vector<CartOItem> order{stop(99, kAddressV)};
  try {
    tsp_solver::bruteForce(cart, warehouse, &order, routeStart(), routeEnd());
    FAIL() << "bruteForce accepted 13 lines";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "factorial: 13! does not fit in int");
  }
  EXPECT_EQ(productsOf(order), std::vector<int>{99});
}

TEST(BruteForceTest, RefusesALargeCartBeforeMeasuringAnyLeg) {
  // A table of every leg of 100000 lines would need 40 GB; the refusal
  // must come first.
  Warehouse warehouse;
  const std::vector<CartOItem> cart(100000, stop(1, kAddressG));
  std::vector<CartOItem> order{stop(99, kAddressV)};
  try {
    tsp_solver::bruteForce(cart, warehouse, &order, routeStart(), routeEnd());
    FAIL() << "bruteForce accepted 100000 lines";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "factorial: 100000! does not fit in int");
  }
  EXPECT_EQ(productsOf(order), std::vector<int>{99});
}

TEST(TspSolverTest, EveryRouteHoldsEachInputLineExactlyOnce) {
  Warehouse warehouse;
  std::mt19937 rng(4409);
  for (int round = 0; round < 60; ++round) {
    const int size = round % 9;
    std::vector<CartOItem> cart = route_fixtures::randomCart(rng, size);
    // Some lines share a location with an earlier one.
    for (int i = 1; i < size; i += 3) {
      cart[i] = stop(cart[i].oItem.productID, cart[i - 1].oItem.addressCode);
    }
    std::vector<int> expected(cart.size());
    std::iota(expected.begin(), expected.end(), 1);

    std::vector<CartOItem> order;
    const int nn = tsp_solver::nearestNeighbour(cart, warehouse, &order,
                                                routeStart(), routeEnd());
    std::vector<int> products = productsOf(order);
    std::sort(products.begin(), products.end());
    EXPECT_EQ(products, expected) << "nearestNeighbour, round " << round;
    EXPECT_EQ(tsp_solver::justMeasureDistance(order, warehouse, routeStart(),
                                              routeEnd()),
              nn);

    if (size <= 7) {
      const int bf = tsp_solver::bruteForce(cart, warehouse, &order,
                                            routeStart(), routeEnd());
      products = productsOf(order);
      std::sort(products.begin(), products.end());
      EXPECT_EQ(products, expected) << "bruteForce, round " << round;
      EXPECT_LE(bf, nn);
    }

    order.clear();
    const int greedy = tsp_solver::greedyAlgorithm(cart, warehouse, &order,
                                                   routeStart(), routeEnd());
    products = productsOf(order);
    std::sort(products.begin(), products.end());
    EXPECT_EQ(products, expected) << "greedyAlgorithm, round " << round;
    EXPECT_EQ(tsp_solver::justMeasureDistance(order, warehouse, routeStart(),
                                              routeEnd()),
              greedy);

    const int shortest = tsp_solver::shortestRoute(cart, warehouse, &order,
                                                   routeStart(), routeEnd());
    products = productsOf(order);
    std::sort(products.begin(), products.end());
    EXPECT_EQ(products, expected) << "shortestRoute, round " << round;
    EXPECT_EQ(tsp_solver::justMeasureDistance(order, warehouse, routeStart(),
                                              routeEnd()),
              shortest);
    EXPECT_LE(shortest, std::min(nn, greedy));
  }
}

TEST(TspSolverTest, RouteLengthsClampInsteadOfOverflowing) {
  Warehouse warehouse;
  // A cell number of "inf" puts the line at x = INT_MAX, so both legs
  // through it are each only a little short of INT_MAX.
  const std::vector<CartOItem> far{stop(1, "G000001inf")};
  const std::vector<CartOItem> farAndNear{stop(1, "G000001inf"),
                                          stop(2, kAddressG)};
  ASSERT_EQ(far.front().oItem.location().x, INT_MAX);

  EXPECT_EQ(
      tsp_solver::justMeasureDistance(far, warehouse, routeStart(), routeEnd()),
      INT_MAX);
  EXPECT_EQ(tsp_solver::justMeasureDistance(farAndNear, warehouse, routeStart(),
                                            routeEnd()),
            INT_MAX);
  std::vector<CartOItem> order;
  EXPECT_EQ(tsp_solver::nearestNeighbour(farAndNear, warehouse, &order,
                                         routeStart(), routeEnd()),
            INT_MAX);
  EXPECT_EQ(productsOf(order), (std::vector<int>{2, 1}));
  EXPECT_EQ(tsp_solver::bruteForce(farAndNear, warehouse, &order, routeStart(),
                                   routeEnd()),
            INT_MAX);
  EXPECT_EQ(order.size(), 2u);
  for (const std::vector<CartOItem>& cart : {far, farAndNear}) {
    order.clear();
    EXPECT_EQ(tsp_solver::greedyAlgorithm(cart, warehouse, &order, routeStart(),
                                          routeEnd()),
              INT_MAX);
    EXPECT_EQ(order.size(), cart.size());
    EXPECT_EQ(tsp_solver::shortestRoute(cart, warehouse, &order, routeStart(),
                                        routeEnd()),
              INT_MAX);
    EXPECT_EQ(order.size(), cart.size());
  }
}
