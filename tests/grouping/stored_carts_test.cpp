#include "grouping/stored_carts.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>

#include "grouping/seed_loading.h"
#include "grouping_fixtures.h"

namespace {

using namespace grouping_fixtures;
using grouping_customers::detail::loadWholeCustomer;
using grouping_customers::detail::StoredCarts;

// The plain form of the stored carts: every cart tried in key order.
using CartsByKey = std::multimap<int, Cart, std::greater<int>>;

bool loadOntoFirstOf(CartsByKey& carts,
                     SolverConfiguration& s,
                     Customer& customer,
                     float volume) {
  for (auto& [key, cart] : carts) {
    if (volume > cart.getCartFreeSpace()) continue;
    if (loadWholeCustomer(s, cart, customer)) return true;
  }
  return false;
}

// A random customer: whole boxes, a single unit, or a few odd-sized units.
Customer randomCustomer(std::mt19937& rng, int id) {
  switch (rng() % 3) {
    case 0:
      return boxesCustomer(id, 1 + static_cast<int>(rng() % 5));
    case 1:
      return customer(id, {{1 + static_cast<int>(rng() % 4), 1}});
    default:
      return customer(id, {{id, 1 + static_cast<int>(rng() % 40),
                            5.0f + static_cast<float>(rng() % 20), 10, 10}});
  }
}

TEST(StoredCartsTest, TakesTheSameCartsAsTryingEveryCartInOrder) {
  SolverConfiguration s = solver();
  CartConfiguration config = standardCart();
  for (unsigned seed = 1; seed <= 3; ++seed) {
    std::mt19937 rng(seed);
    StoredCarts stored;
    CartsByKey plain;
    int id = 1;
    // Carts filled to random levels, several of each key, more of them than
    // one block holds; stored between the loads as the grouping does.
    for (int round = 0; round < 300; ++round) {
      if (round % 2 == 0) {
        Cart cart = config.getCartPattern();
        Customer filler = boxesCustomer(id++, static_cast<int>(rng() % 10));
        cart.loadCustomer(s, filler, false, nullptr);
        plain.emplace(clampToInt(cart.getCartFreeSpace()), cart);
        stored.store(cart);
      }
      Customer a = randomCustomer(rng, id++);
      Customer b = a;
      const float volume = static_cast<float>(clampToInt(a.getTotalVolume()));
      ASSERT_EQ(stored.loadOntoFirst(s, a, volume),
                loadOntoFirstOf(plain, s, b, volume))
          << "seed " << seed << " round " << round;
    }

    std::list<Cart> released = stored.release();
    ASSERT_EQ(released.size(), plain.size());
    auto it = plain.begin();
    for (const Cart& cart : released) {
      EXPECT_EQ(customerIds(cart), customerIds(it->second));
      EXPECT_EQ(cart.getCartFreeSpace(), it->second.getCartFreeSpace());
      ++it;
    }
    EXPECT_TRUE(stored.release().empty());
  }
}

}  // namespace
