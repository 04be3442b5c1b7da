#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "grouping/grouping_customers.h"
#include "grouping_fixtures.h"

namespace {

using namespace grouping_fixtures;

// A random wave: customers of one to six lines over the four sectors, a few
// single-unit customers (they share boxes), one customer larger than two
// carts, and one unit too wide for any shelf (its box is forced on).
std::vector<Customer> randomWave(std::mt19937& random, int size) {
  const std::vector<std::string> addresses = sampleAddresses(random, 40);
  auto address = [&]() {
    return addresses[random() % addresses.size()].c_str();
  };
  std::vector<Customer> wave;
  int product = 1;
  for (int id = 1; id <= size; ++id) {
    std::vector<OrderLine> lines;
    if (id == 1) {
      lines.push_back({product++, 830, 10, 10, 10, address()});  // 24 boxes
    } else if (id == 2 && size > 2) {
      lines.push_back({product++, 1, 95, 30, 30, address()});
    } else if (id % 7 == 0) {
      lines.push_back({product++, 1, 5, 5, 5, address()});
    } else {
      const int count = 1 + static_cast<int>(random() % 6);
      for (int i = 0; i < count; ++i) {
        lines.push_back({product++, 1 + static_cast<int>(random() % 40),
                         static_cast<float>(3 + random() % 18),
                         static_cast<float>(3 + random() % 18),
                         static_cast<float>(3 + random() % 18), address()});
      }
    }
    wave.push_back(customer(id, lines));
  }
  return wave;
}

TEST(GroupingPropertyTest, EveryAlgorithmPlacesEveryBoxOfEveryCustomer) {
  std::mt19937 random(20240607);
  for (int size : {1, 2, 9, 40, 130}) {
    std::vector<Customer> customers = randomWave(random, size);
    UnitsByCustomerProduct expectedUnits;
    std::size_t expectedBoxes = 0;
    std::set<int> expectedIds;
    for (const Customer& c : customers) {
      addUnits(c.boxesDecomp, &expectedUnits);
      expectedBoxes += c.boxesDecomp.size();
      expectedIds.insert(c.getCustomerID());
    }
    for (int algorithm = 0; algorithm < 3; ++algorithm) {
      SCOPED_TRACE("size " + std::to_string(size) + ", algorithm " +
                   std::to_string(algorithm));
      CustomerMultimap waiting = wave(customers);
      CartConfiguration config = standardCart();
      std::list<Cart> carts = groupWith(algorithm, config, waiting);
      EXPECT_TRUE(waiting.empty());
      CartContents held = contents(carts);
      EXPECT_EQ(held.customers, expectedIds);
      EXPECT_EQ(held.onShelves, expectedUnits);
      EXPECT_EQ(held.onPickLists, expectedUnits);
      // A single unit that joined a shared box brought no box of its own.
      EXPECT_EQ(held.boxes + held.joinedSharedBoxes, expectedBoxes);
      EXPECT_EQ(held.cartsWithoutCustomer, 0u);
      EXPECT_EQ(held.cartsWithoutBox, 0u);
      if (size >= 40) {
        EXPECT_GT(held.joinedSharedBoxes, 0u);
      }
    }
  }
}

}  // namespace
