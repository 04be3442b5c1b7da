#include "grouping/seed_loading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

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

// Describes a cart as the readers of a plan see it: each shelf's boxes
// (width and units, in shelf order), the pick list, the free space and the
// customers listed with their lines.
std::string describe(const Cart& cart) {
  std::ostringstream out;
  for (const CartShelf& shelf : cart.cartShelves) {
    out << "[";
    for (const Box& box : shelf.getBoxes().fullItemized) {
      out << box.width << "x" << testing_support::unitsIn(box) << " ";
    }
    out << "|" << shelf.getBoxes().oneItemized.size() << "]";
  }
  for (const CartOItem& line : cart.cartOItems) {
    out << " " << line.oItem.productID << ":" << line.getRealQty();
  }
  out << " free " << cart.getCartFreeSpace();
  for (const Customer& c : cart.customers) {
    out << " c" << c.getCustomerID() << "/" << c.oItems.size() << "/"
        << c.getTotalVolume();
  }
  return out.str();
}

// Lines in boxes 40, 35, 28 and 12 wide that leave gaps on the shelves.
Customer mixedCustomer(int id) {
  return customer(id, {{1, 36 * 30, 10, 10, 10},
                       {2, 7, 40, 30, 35},
                       {3, 5, 35, 35, 35},
                       {4, 6, 12, 60, 60}});
}

// Boxes on the cart's shelves, as the customer's share must list them.
std::vector<Box> boxesOn(const Cart& cart) {
  std::vector<Box> boxes;
  for (const CartShelf& shelf : cart.cartShelves) {
    for (const Box& box : shelf.getBoxes().fullItemized) boxes.push_back(box);
    for (const Box& box : shelf.getBoxes().oneItemized) boxes.push_back(box);
  }
  return boxes;
}

std::string widthsAndUnits(std::vector<Box> boxes) {
  std::vector<std::string> each;
  for (const Box& box : boxes) {
    each.push_back(std::to_string(box.width) + "x" +
                   std::to_string(testing_support::unitsIn(box)));
  }
  std::sort(each.begin(), each.end());
  std::string joined;
  for (const std::string& e : each) joined += e + " ";
  return joined;
}

// The seed's carts, loaded one pass per cart by the cart itself.
std::vector<Cart> loadSeedPassByPass(SolverConfiguration& s,
                                     const CartConfiguration& config,
                                     Customer seed) {
  std::vector<Cart> loaded{config.getCartPattern()};
  std::vector<Box> remaining;
  while (!loaded.back().loadCustomer(s, seed, true, &remaining) &&
         !remaining.empty()) {
    loaded.push_back(config.getCartPattern());
    seed.setBoxesDecomp(std::move(remaining));
    remaining.clear();
  }
  return loaded;
}

TEST(SeedLoadingTest, SplitSeedKeepsEachCartsContents) {
  SolverConfiguration s = solver();
  CartConfiguration config = standardCart();
  const Customer seed = mixedCustomer(3);
  ASSERT_EQ(seed.boxesDecomp.size(), 48u);
  const std::vector<Cart> carts = loadSeed(s, config, seed);
  // Shelves, pick lists, free space and listed customers as the seed was
  // loaded before carts listed only their share of its boxes.
  const std::vector<std::string> expected = {
      "[40x1 40x1 |0][40x1 40x1 |0][40x1 40x1 |0] 2:6 free 76860 "
      "c3/4/1.84758e+06",
      "[40x1 35x1 12x1 |0][35x1 35x1 12x1 |0][35x1 35x1 12x1 |0] 2:1 3:5 "
      "4:3 free -57115 c3/4/1.84758e+06",
      "[28x36 28x36 28x36 |0][28x36 28x36 28x36 |0][28x36 28x36 28x36 |0] "
      "1:324 free 4860 c3/4/1.84758e+06",
      "[28x36 28x36 28x36 |0][28x36 28x36 28x36 |0][28x36 28x36 28x36 |0] "
      "1:324 free 4860 c3/4/1.84758e+06",
      "[28x36 28x36 28x36 |0][28x36 28x36 28x36 |0][28x36 28x36 28x36 |0] "
      "1:324 free 4860 c3/4/1.84758e+06",
      "[28x36 28x36 28x36 |0][12x1 12x1 12x1 |0][|0] 1:108 4:3 free 91260 "
      "c3/4/1.84758e+06"};
  ASSERT_EQ(carts.size(), expected.size());
  for (std::size_t i = 0; i < carts.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(describe(carts[i]), expected[i]);
    // Each cart lists the customer with its lines and totals but only the
    // boxes the cart holds.
    ASSERT_EQ(carts[i].customers.size(), 1u);
    const Customer& listed = carts[i].customers[0];
    EXPECT_EQ(listed.oItems.size(), seed.oItems.size());
    EXPECT_EQ(listed.getTotalWeight(), seed.getTotalWeight());
    EXPECT_EQ(widthsAndUnits(listed.boxesDecomp),
              widthsAndUnits(boxesOn(carts[i])));
  }
}

TEST(SeedLoadingTest, RunByRunLoadingMatchesLoadingPassByPass) {
  SolverConfiguration s = solver();
  CartConfiguration config = standardCart();
  std::mt19937 rng(11);
  // Widths from 10 to 100, some wider than a shelf (forced onto a cart),
  // and single units of master boxes.
  const std::vector<float> widths = {10, 12, 25, 30, 35, 40, 44, 45, 60, 100};
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE(round);
    std::vector<OrderLine> lines;
    const int count = 1 + static_cast<int>(rng() % 6);
    for (int l = 0; l < count; ++l) {
      const int product = l + 1;
      if (rng() % 3 == 0) {
        lines.push_back({product, 1 + static_cast<int>(rng() % 200)});
      } else {
        const float x = widths[rng() % widths.size()];
        lines.push_back({product, 1 + static_cast<int>(rng() % 12), x, 60, 60});
      }
    }
    const Customer seed = customer(4, lines);
    const std::vector<Cart> expected = loadSeedPassByPass(s, config, seed);
    const std::vector<Cart> carts = loadSeed(s, config, seed);
    ASSERT_EQ(carts.size(), expected.size());
    for (std::size_t i = 0; i < carts.size(); ++i) {
      EXPECT_EQ(describe(carts[i]), describe(expected[i])) << "cart " << i;
      ASSERT_EQ(carts[i].customers.size(), 1u);
      EXPECT_EQ(widthsAndUnits(carts[i].customers[0].boxesDecomp),
                widthsAndUnits(boxesOn(carts[i])));
    }
  }
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
  const std::int64_t lowest = std::int64_t{INT_MIN} - 1;
  const std::vector<std::int64_t> extremes = {lowest, INT_MIN, -1, 0, INT_MAX};
  CustomerMultimap waiting;
  for (int i = 0; i < 400; ++i) waiting.emplace(i % 7, Customer(i));
  for (int round = 0; round < 40; ++round) {
    grouping_customers::detail::Ranking candidates;
    std::vector<std::int64_t> keys;
    // Rankings short and long; keys over the whole range, or in a short
    // range far from zero, with or without the lowest key among them.
    const std::size_t size = round % 4 == 3 ? 1 + rng() % 70 : 400;
    const int kind = round % 3;
    const std::int64_t base = static_cast<std::int64_t>(rng() % 2000) - 1000;
    std::size_t index = 0;
    for (auto it = waiting.begin(); index < size; ++it) {
      candidates.push_back({it, index++});
      // Few distinct keys, so that ties are common.
      const std::int64_t near = static_cast<int>(rng() % 9) - 4;
      if (kind == 0) {
        keys.push_back(rng() % 3 == 0 ? extremes[rng() % extremes.size()]
                                      : near);
      } else if (kind == 1) {
        keys.push_back(rng() % 5 == 0 ? lowest : base * 1000 + near * 300);
      } else {
        keys.push_back(base + near);
      }
    }
    std::vector<std::size_t> expected(candidates.size());
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i;
    std::stable_sort(
        expected.begin(), expected.end(),
        [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    grouping_customers::detail::orderByKeys(candidates, keys);
    ASSERT_EQ(candidates.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      ASSERT_EQ(candidates[i].index, expected[i]) << "round " << round;
    }
  }
}
