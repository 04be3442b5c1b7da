#include "grouping/seed_loading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <stdexcept>

#include "grouping/grouping_customers.h"
#include "grouping_fixtures.h"

namespace {

using namespace grouping_fixtures;
using grouping_customers::detail::loadSeed;

// One unit 100 wide: it travels in a box of its own size that no 90-wide
// shelf takes, next to the empty master box the packer always opens.
Customer oversizeCustomer(int id) {
  return customer(id, {{1, 1, 100, 30, 30}});
}

TEST(SeedLoadingTest, SplitsASeedOverCartsUntilNoBoxRemains) {
  SolverConfiguration s = solver();
  CartConfiguration config = standardCart();
  Customer big = boxesCustomer(1, 20);
  ASSERT_EQ(big.boxesDecomp.size(), 20u);

  std::vector<Cart> carts = loadSeed(s, config, big);
  ASSERT_EQ(carts.size(), 3u);
  EXPECT_EQ(boxCount(carts[0]), 9u);
  EXPECT_EQ(boxCount(carts[1]), 9u);
  EXPECT_EQ(boxCount(carts[2]), 2u);
  for (const Cart& cart : carts) EXPECT_EQ(customerIds(cart), std::vector{1});
  // The last cart lists the customer with only the boxes it holds.
  EXPECT_EQ(carts[2].customers[0].boxesDecomp.size(), 2u);

  std::vector<Cart> one = loadSeed(s, config, boxesCustomer(2, 9));
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(boxCount(one[0]), 9u);
}

TEST(SeedLoadingTest, ForcedLastBoxOpensNoEmptyCart) {
  SolverConfiguration s = solver();
  CartConfiguration config = standardCart();
  Customer oversize = oversizeCustomer(5);
  ASSERT_EQ(oversize.boxesDecomp.size(), 2u);

  // The empty master box fits the first cart; the 100-wide box is forced
  // onto the second, which leaves nothing to load.
  std::vector<Cart> carts = loadSeed(s, config, oversize);
  ASSERT_EQ(carts.size(), 2u);
  EXPECT_EQ(boxCount(carts[0]), 1u);
  EXPECT_EQ(boxCount(carts[1]), 1u);
  EXPECT_LT(carts[1].cartShelves[0].getFreeWidth(), 0.0f);

  for (int algorithm = 0; algorithm < 3; ++algorithm) {
    CustomerMultimap customers = wave({oversizeCustomer(5)});
    std::list<Cart> grouped = groupWith(algorithm, config, customers);
    SCOPED_TRACE(algorithm);
    EXPECT_EQ(grouped.size(), 2u);
    CartContents held = contents(grouped);
    EXPECT_EQ(held.cartsWithoutBox, 0u);
    EXPECT_EQ(held.boxes, 2u);
    EXPECT_TRUE(customers.empty());
  }
}

TEST(SeedLoadingTest, PatternWithoutShelvesIsRefusedInsteadOfLoopingForever) {
  CartConfiguration config = standardCart();
  config.cartPatterns.front() = Cart(std::vector<CartShelf>{});
  SolverConfiguration s = solver();
  try {
    loadSeed(s, config, boxesCustomer(7, 2));
    FAIL() << "expected std::invalid_argument";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(),
                 "Cannot load customer 7: no box of it can be placed on an "
                 "empty cart with 0 shelves");
  }
  for (int algorithm = 0; algorithm < 3; ++algorithm) {
    CustomerMultimap customers = wave({boxesCustomer(7, 2)});
    EXPECT_THROW(groupWith(algorithm, config, customers),
                 std::invalid_argument);
  }
}

TEST(SeedLoadingTest, CustomersWithoutLinesOrBoxesAreStillPlaced) {
  CartConfiguration config = standardCart();
  for (int algorithm = 0; algorithm < 3; ++algorithm) {
    SCOPED_TRACE(algorithm);
    CustomerMultimap customers =
        wave({Customer(8), boxesCustomer(9, 2), Customer(10)});
    std::list<Cart> carts = groupWith(algorithm, config, customers);
    EXPECT_TRUE(customers.empty());
    EXPECT_EQ(contents(carts).customers, (std::set<int>{8, 9, 10}));
  }
}

}  // namespace

TEST(SeedLoadingTest, OrderByKeysIsAStableSortOverTheWholeKeyRange) {
  std::mt19937 rng(5);
  const std::vector<std::int64_t> extremes = {std::int64_t{INT_MIN} - 1,
                                              INT_MIN, -1, 0, INT_MAX};
  CustomerMultimap waiting;
  for (int i = 0; i < 400; ++i) waiting.emplace(i % 7, Customer(i));
  for (int round = 0; round < 20; ++round) {
    grouping_customers::detail::Ranking candidates;
    std::vector<std::int64_t> keys;
    std::size_t index = 0;
    for (auto it = waiting.begin(); it != waiting.end(); ++it) {
      candidates.push_back({it, index++});
      // Few distinct keys, so that ties are common.
      keys.push_back(rng() % 3 == 0 ? extremes[rng() % extremes.size()]
                                    : static_cast<int>(rng() % 9) - 4);
    }
    std::vector<std::size_t> expected(candidates.size());
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i;
    std::stable_sort(expected.begin(), expected.end(),
                     [&](std::size_t a, std::size_t b) {
                       return keys[a] < keys[b];
                     });
    grouping_customers::detail::orderByKeys(candidates, keys);
    ASSERT_EQ(candidates.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      ASSERT_EQ(candidates[i].index, expected[i]) << "round " << round;
    }
  }
}
