#include "grouping/shortest_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <list>
#include <random>
#include <stdexcept>
#include <vector>

#include "geometry/route_ends.h"
#include "grouping_fixtures.h"
#include "routing/tsp_solver.h"

namespace {

using namespace grouping_fixtures;

// Far apart: the west end of sector G and the east end of sector V.
constexpr const char* kWest = "G000102005";
constexpr const char* kWest2 = "G000102007";
constexpr const char* kEast = "VDD0001370";
constexpr const char* kEast2 = "VDD0001372";

// Carts loaded with the customers as given, one list per cart.
std::list<Cart> cartsOf(const std::vector<std::vector<Customer>>& plan) {
  SolverConfiguration s = solver();
  CartConfiguration config = standardCart();
  std::list<Cart> carts;
  for (const std::vector<Customer>& customers : plan) {
    Cart cart = config.getCartPattern();
    for (Customer c : customers) {
      EXPECT_TRUE(cart.loadCustomer(s, c, false, nullptr));
    }
    carts.push_back(std::move(cart));
  }
  return carts;
}

int walkOf(const std::list<Cart>& carts) {
  Warehouse warehouse;
  int total = 0;
  for (const Cart& cart : carts) {
    std::vector<CartOItem> order;
    total += tsp_solver::shortestRoute(cart.cartOItems, warehouse, &order,
                                       routeStart(), routeEnd());
  }
  return total;
}

std::list<Cart> improve(std::list<Cart> carts,
                        int effort,
                        grouping_customers::ShortestWalkReport* report) {
  SolverConfiguration s(FFD_OneBoxType, ShortestWalk, ShortestRoute);
  s.effort = effort;
  CartConfiguration config = standardCart();
  Warehouse warehouse;
  return grouping_customers::shortestWalk(s, config, std::move(carts),
                                          warehouse, report);
}

TEST(ShortestWalkTest, SwapsCustomersSoThatEachCartStaysOnOneSide) {
  // Four customers of four boxes each: two fit a cart, three do not, so
  // only a swap can separate west from east.
  std::list<Cart> start =
      cartsOf({{boxesCustomer(1, 4, kWest), boxesCustomer(2, 4, kEast)},
               {boxesCustomer(3, 4, kWest2), boxesCustomer(4, 4, kEast2)}});
  const int before = walkOf(start);
  grouping_customers::ShortestWalkReport report;
  std::list<Cart> carts = improve(start, 0, &report);
  ASSERT_EQ(carts.size(), 2u);
  std::vector<std::vector<int>> ids;
  for (const Cart& cart : carts) ids.push_back(customerIds(cart));
  EXPECT_EQ(ids[0].size(), 2u);
  EXPECT_EQ(ids[1].size(), 2u);
  for (const std::vector<int>& on : ids) {
    const bool west = on[0] == 1 || on[0] == 3;
    for (int id : on) EXPECT_EQ(id == 1 || id == 3, west);
  }
  EXPECT_LT(walkOf(carts), before);
  EXPECT_EQ(report.startLength, before);
  EXPECT_EQ(report.finalLength, walkOf(carts));
}

TEST(ShortestWalkTest, EmptiesTheSmallestCartWhenTheOthersTakeItsCustomers) {
  std::list<Cart> start = cartsOf({{boxesCustomer(1, 2, kWest)},
                                   {boxesCustomer(2, 2, kWest2)},
                                   {boxesCustomer(3, 2, kWest)}});
  const int before = walkOf(start);
  std::list<Cart> carts = improve(start, 0, nullptr);
  ASSERT_EQ(carts.size(), 1u);
  EXPECT_EQ(carts.front().customers.size(), 3u);
  EXPECT_EQ(boxCount(carts.front()), 6u);
  EXPECT_LT(walkOf(carts), before);
}

TEST(ShortestWalkTest, LeavesTheCartsOfASplitCustomerAsTheyWere) {
  // Customer 1 fills one cart and part of another; 2 and 3 would rather
  // swap with it, but a split customer does not move.
  CartConfiguration config = standardCart();
  SolverConfiguration s = solver();
  Customer big = boxesCustomer(1, 12, kWest);
  Cart first = config.getCartPattern();
  std::vector<Box> rest;
  EXPECT_FALSE(first.loadCustomer(s, big, true, &rest));
  big.setBoxesDecomp(rest);
  Cart second = config.getCartPattern();
  EXPECT_TRUE(second.loadCustomer(s, big, false, nullptr));
  Customer east = boxesCustomer(2, 2, kEast);
  EXPECT_TRUE(second.loadCustomer(s, east, false, nullptr));
  std::list<Cart> start = {first, second};
  for (const Cart& c : cartsOf({{boxesCustomer(3, 2, kWest2)}})) {
    start.push_back(c);
  }

  std::list<Cart> carts = improve(start, 2, nullptr);
  ASSERT_EQ(carts.size(), 3u);
  auto held = carts.begin();
  EXPECT_EQ(customerIds(*held), std::vector<int>{1});
  EXPECT_EQ(customerIds(*++held), (std::vector<int>{1, 2}));
  EXPECT_EQ(customerIds(*++held), std::vector<int>{3});
}

TEST(ShortestWalkTest, RefusesANegativeEffortAndRepeatsItsResult) {
  std::list<Cart> start =
      cartsOf({{boxesCustomer(1, 3, kWest), boxesCustomer(2, 3, kEast)},
               {boxesCustomer(3, 3, kEast2), boxesCustomer(4, 3, kWest2)},
               {boxesCustomer(5, 1, kEast)}});
  EXPECT_THROW(improve(start, -1, nullptr), std::invalid_argument);
  std::list<Cart> once = improve(start, 3, nullptr);
  std::list<Cart> again = improve(start, 3, nullptr);
  ASSERT_EQ(once.size(), again.size());
  for (auto a = once.begin(), b = again.begin(); a != once.end(); ++a, ++b) {
    EXPECT_EQ(customerIds(*a), customerIds(*b));
  }
  EXPECT_LE(walkOf(once), walkOf(start));
}

}  // namespace

namespace {

TEST(WalkPlanTest, InsertionsAndQuickRoutesAgreeWithTheRoutesTheyBuild) {
  // Customers at addresses spread over G and V, two to three per cart, so
  // that inserting one customer's stop into another cart's route and
  // re-routing a cart from a foreign hint both have real work to do.
  const char* addresses[] = {kWest,        kEast,        kWest2,      kEast2,
                             "G000502017", "G002002010", "VDD0001200"};
  std::vector<std::vector<Customer>> plan(3);
  for (int id = 1; id <= 7; ++id) {
    plan[static_cast<std::size_t>(id % 3)].push_back(
        boxesCustomer(id, 1, addresses[id - 1]));
  }
  SolverConfiguration s(FFD_OneBoxType, ShortestWalk, ShortestRoute);
  CartConfiguration config = standardCart();
  Warehouse warehouse;
  walk_search::WalkPlan walks(s, config, cartsOf(plan), warehouse);
  ASSERT_EQ(walks.customerCount(), 7);

  for (const walk_search::WalkCart& held : walks.carts()) {
    for (int c = 0; c < walks.customerCount(); ++c) {
      std::vector<int> route = held.walk.route;
      const std::int64_t before = walks.pathLength(route);
      const std::int64_t added = walks.insertionCost(route, c);
      EXPECT_EQ(walks.pathLength(route), before + added);
      for (int stop : walks.stopsOf(c)) {
        EXPECT_EQ(std::count(route.begin(), route.end(), stop), 1);
      }
    }
  }
  // A cart's quick route from another cart's route visits its own stops
  // once each and is never shorter than the full search's route.
  const auto& carts = walks.carts();
  for (std::size_t i = 0; i < carts.size(); ++i) {
    const walk_search::WalkCart& held = carts[i];
    const walk_search::CartWalk quick = walks.quickRoute(
        held.customers, carts[(i + 1) % carts.size()].walk.route);
    std::vector<int> own = held.walk.route;
    std::vector<int> visited = quick.route;
    std::sort(own.begin(), own.end());
    std::sort(visited.begin(), visited.end());
    EXPECT_EQ(visited, own);
    EXPECT_EQ(walks.route(held.cart).length, held.walk.length);
    // Few stops: the full route is exact, so no quick route beats it.
    EXPECT_GE(quick.length, held.walk.length);
  }
}

TEST(WalkPlanTest, LoadingFollowedOnWidthsAgreesWithTheCartLoading) {
  // Single units of a few products (so that shared boxes meet a product
  // they hold, or fill up) among customers of one to four whole boxes.
  std::mt19937 random(14);
  std::vector<std::vector<Customer>> plan;
  for (int id = 1; id <= 40; ++id) {
    if (id % 2 == 0) {
      const float side = 10.0f + static_cast<float>(random() % 3) * 6.0f;
      plan.push_back({customer(
          id, {{static_cast<int>(random() % 4), 1, side, side, 30}})});
    } else {
      plan.push_back({boxesCustomer(id, 1 + static_cast<int>(random() % 4))});
    }
  }
  SolverConfiguration s(FFD_OneBoxType, ShortestWalk, ShortestRoute);
  CartConfiguration config = standardCart();
  Warehouse warehouse;
  walk_search::WalkPlan walks(s, config, cartsOf(plan), warehouse);
  ASSERT_EQ(walks.customerCount(), 40);

  int fits = 0;
  int refused = 0;
  for (int trial = 0; trial < 400; ++trial) {
    std::vector<int> customers;
    const int count = 2 + static_cast<int>(random() % 9);
    while (static_cast<int>(customers.size()) < count) {
      const int c = static_cast<int>(random() % 40);
      if (std::find(customers.begin(), customers.end(), c) == customers.end()) {
        customers.push_back(c);
      }
    }
    const bool mayFit = walks.mayFit(customers);
    const bool loaded = walks.load(customers).has_value();
    // Never refuses what the loading takes; with the volume fit of shared
    // boxes it refuses all the loading refuses.
    EXPECT_EQ(mayFit, loaded) << "trial " << trial;
    (loaded ? fits : refused) += 1;
  }
  EXPECT_GT(fits, 40);
  EXPECT_GT(refused, 40);
}

TEST(WalkPlanTest, LighterSearchRoutesFinishAsTheRunRoutesTheCart) {
  // One customer with lines over four aisles, more stops than the exact
  // solver takes, so that the search's fewer rounds may leave a longer
  // route.
  std::vector<std::array<char, 16>> addresses(24);
  std::vector<OrderLine> lines;
  const int aisles[] = {1, 5, 8, 12};
  for (int i = 0; i < 24; ++i) {
    std::snprintf(addresses[i].data(), addresses[i].size(), "G00%02d02%03d",
                  aisles[i % 4], 5 + 7 * (i / 4) + (i % 3));
    lines.push_back({100 + i, 1, 10, 10, 10, addresses[i].data()});
  }
  std::vector<std::vector<Customer>> plan = {{customer(1, lines)},
                                             {boxesCustomer(2, 1, kEast)}};
  SolverConfiguration s(FFD_OneBoxType, ShortestWalk, ShortestRoute);
  CartConfiguration config = standardCart();
  Warehouse warehouse;
  walk_search::WalkPlan walks(s, config, cartsOf(plan), warehouse);
  const walk_search::WalkCart held = walks.carts()[0];
  ASSERT_GT(held.walk.route.size(), 15u);

  std::vector<CartOItem> order;
  const int runs = tsp_solver::shortestRoute(held.cart.cartOItems, warehouse,
                                             &order, routeStart(), routeEnd());
  EXPECT_EQ(held.walk.length, runs);
  EXPECT_FALSE(held.walk.light);
  // Asked again (from the routes found), the same route.
  const walk_search::CartWalk again = walks.route(held.cart);
  EXPECT_EQ(again.route, held.walk.route);
  EXPECT_EQ(again.length, runs);

  const walk_search::CartWalk light = walks.searchRoute(held.cart);
  EXPECT_TRUE(light.light);
  EXPECT_GE(light.length, runs);
  walks.replace(0, held.cart, held.customers, light);
  walks.finishRoutes();
  EXPECT_FALSE(walks.carts()[0].walk.light);
  EXPECT_EQ(walks.carts()[0].walk.length, runs);
  EXPECT_EQ(walks.totalLength(), runs + walks.carts()[1].walk.length);
}

}  // namespace
