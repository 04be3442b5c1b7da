#include <gtest/gtest.h>

#include <climits>

#include "geometry/warehouse.h"
#include "grouping/grouping_customers.h"
#include "grouping/point_distances.h"
#include "grouping/ranking_measures.h"
#include "grouping_fixtures.h"

namespace {

using namespace grouping_fixtures;
using grouping_customers::algorithm_AVGDistances;
using grouping_customers::detail::averageDistance;
using grouping_customers::detail::PointDistances;

// The mean distance of the candidate's lines to the seed's, through the
// point sums the grouping ranks by.
int averageOf(const Customer& candidate, const Customer& seed) {
  CustomerMultimap both = wave({seed, candidate});
  PointDistances distances(both);
  const std::vector<int>& seedPoints = distances.linePoints(seed);
  const std::vector<std::int64_t> toSeed = distances.sumsToLines(seedPoints);
  const std::vector<int> candidatePoints = distances.linePoints(candidate);
  return averageDistance(candidatePoints, toSeed, seedPoints.size());
}

std::list<Cart> group(CustomerMultimap& customers) {
  SolverConfiguration s = solver();
  CartConfiguration config = standardCart();
  Warehouse warehouse;
  return algorithm_AVGDistances(s, config, customers, warehouse);
}

TEST(AvgDistancesTest, OneCustomerThatFitsGivesOneCart) {
  CustomerMultimap customers = wave({boxesCustomer(4, 3)});
  std::list<Cart> carts = group(customers);
  ASSERT_EQ(carts.size(), 1u);
  EXPECT_EQ(customerIds(carts.front()), std::vector{4});
  EXPECT_EQ(boxCount(carts.front()), 3u);
  EXPECT_TRUE(customers.empty());
}

TEST(AvgDistancesTest, CustomerLargerThanACartIsListedOnBothCarts) {
  CustomerMultimap customers = wave({boxesCustomer(1, 12)});
  std::list<Cart> carts = group(customers);
  ASSERT_EQ(carts.size(), 2u);
  EXPECT_EQ(customerIds(carts.front()), std::vector{1});
  EXPECT_EQ(customerIds(carts.back()), std::vector{1});
  EXPECT_EQ(boxCount(carts.front()), 9u);
  EXPECT_EQ(boxCount(carts.back()), 3u);
  // Each cart's pick list carries the units it holds.
  EXPECT_EQ(carts.front().cartOItems.at(0).realQty, 9 * 36);
  EXPECT_EQ(carts.back().cartOItems.at(0).realQty, 3 * 36);
  EXPECT_TRUE(customers.empty());
}

TEST(AvgDistancesTest, AverageMeasuresEveryCandidateLineAgainstEverySeedLine) {
  Customer seed = customer(
      1, {{1, 1, 10, 10, 10, "G000502017"}, {2, 1, 10, 10, 10, "VCC0001005"}});
  Customer candidate = customer(2, {{3, 1, 10, 10, 10, "P000101010"},
                                    {4, 1, 10, 10, 10, "GP00301012"},
                                    {5, 1, 10, 10, 10, "VEE0805030"}});
  // The oracle's public form, candidate line first and seed line second.
  Warehouse warehouse;
  long sum = 0;
  for (const OItem& a : candidate.oItems) {
    for (const OItem& b : seed.oItems) {
      sum += warehouse.getDistanceBetweenAddresses(*a.wAddress, *b.wAddress);
    }
  }
  EXPECT_GT(sum, 0);
  EXPECT_EQ(averageOf(candidate, seed), sum / 6);
  EXPECT_EQ(averageOf(seed, seed),
            warehouse.getDistanceBetweenAddresses(*seed.oItems[0].wAddress,
                                                  *seed.oItems[1].wAddress) /
                2);
  EXPECT_EQ(averageOf(Customer(9), seed), 0);
  EXPECT_EQ(averageOf(seed, Customer(9)), 0);
}

TEST(AvgDistancesTest, AverageOfMillionsOfFarPairsDoesNotOverflow) {
  OItem west(1, 1, "VCC0001005", 1);
  OItem east(2, 2, "GP00904013", 1);
  const int d = Warehouse::distance(west.location(), east.location());
  ASSERT_GT(d, 1000);
  // 1600 x 1600 pairs of this distance sum past the int range.
  Customer seed(1), candidate(2);
  for (int i = 0; i < 1600; ++i) {
    seed.addOItem(west);
    candidate.addOItem(east);
  }
  ASSERT_GT(1600L * 1600L * d, static_cast<long>(INT_MAX));
  EXPECT_EQ(averageOf(candidate, seed), d);
}

TEST(AvgDistancesTest, CandidatesAreTriedNearestFirstAndTiesByLargerVolume) {
  // The seed leaves room for two boxes: the first candidate of the ranking
  // with two boxes takes it, the rest open the next cart.
  Customer seed = boxesCustomer(1, 7, "G000502017");
  Customer farLarge = customer(2, {{20, 72, 10, 10, 10, "GP00904013"}});
  Customer nearSmall = customer(3, {{30, 60, 10, 10, 10, "G000502018"}});
  ASSERT_EQ(farLarge.boxesDecomp.size(), 2u);
  ASSERT_EQ(nearSmall.boxesDecomp.size(), 2u);
  {
    CustomerMultimap customers = wave({seed, farLarge, nearSmall});
    std::list<Cart> carts = group(customers);
    ASSERT_EQ(carts.size(), 2u);
    EXPECT_EQ(customerIds(carts.front()), (std::vector{1, 3}));
    EXPECT_EQ(customerIds(carts.back()), std::vector{2});
  }
  {
    // Same address, equal averages: the larger volume is tried first.
    Customer sameLarge = customer(2, {{20, 72, 10, 10, 10, "G000502018"}});
    CustomerMultimap customers = wave({nearSmall, seed, sameLarge});
    std::list<Cart> carts = group(customers);
    ASSERT_EQ(carts.size(), 2u);
    EXPECT_EQ(customerIds(carts.front()), (std::vector{1, 2}));
    // The candidate that did not fit became the next cart's seed.
    EXPECT_EQ(customerIds(carts.back()), std::vector{3});
  }
}

}  // namespace
