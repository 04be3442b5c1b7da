#include "grouping/point_distances.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "grouping/kmeans_clusters.h"
#include "support/address_generator.h"

namespace {

using grouping_customers::Cluster;
using grouping_customers::Point;
using grouping_customers::detail::CentroidsByX;
using grouping_customers::detail::nearestCluster;
using grouping_customers::detail::PointDistances;

// Customers with random lines; addresses drawn from a small pool so that
// lines share points, and one address repeated at another level.
CustomerMultimap randomCustomers(unsigned seed, int count) {
  testing_support::AddressGenerator addresses(seed);
  std::vector<std::string> pool;
  for (int i = 0; i < 40; ++i) pool.push_back(addresses.next());
  pool.push_back("G000501017");  // G000502017 one level lower
  pool.push_back("G000502017");
  std::mt19937 rng(seed);
  CustomerMultimap customers;
  for (int id = 0; id < count; ++id) {
    Customer customer(1000 + id);
    const int lines = 1 + static_cast<int>(rng() % 6);
    for (int l = 0; l < lines; ++l) {
      customer.addOItem(OItem(1000 + id, l, pool[rng() % pool.size()], 1));
    }
    customers.emplace(static_cast<int>(rng() % 5), std::move(customer));
  }
  return customers;
}

TEST(PointDistancesTest, SumsToASeedMatchEveryLinePairMeasured) {
  CustomerMultimap customers = randomCustomers(7, 30);
  PointDistances distances(customers);
  EXPECT_LT(distances.pointCount(), 42u);  // levels share one point
  const Customer& seed = customers.begin()->second;
  const std::vector<int> seedPoints = distances.linePoints(seed);
  const std::vector<std::int64_t> sums = distances.sumsToLines(seedPoints);
  for (const auto& [key, candidate] : customers) {
    std::int64_t expected = 0;
    for (const OItem& a : candidate.oItems) {
      for (const OItem& b : seed.oItems) {
        expected += Warehouse::distance(a.location(), b.location());
      }
    }
    std::int64_t summed = 0;
    for (int p : distances.linePoints(candidate)) summed += sums[p];
    EXPECT_EQ(summed, expected) << "customer " << candidate.customerID;
  }
}

TEST(PointDistancesTest, ACustomerNumberGivenTwiceIsLookedUpByItsLines) {
  CustomerMultimap customers;
  Customer first(5), second(5);
  first.addOItem(OItem(5, 1, "G000502017", 1));
  second.addOItem(OItem(5, 2, "P000101010", 1));
  second.addOItem(OItem(5, 3, "G000502017", 1));
  customers.emplace(2, first);
  customers.emplace(1, second);
  PointDistances distances(customers);
  EXPECT_EQ(distances.linePoints(first), std::vector<int>({0}));
  EXPECT_EQ(distances.linePoints(second), std::vector<int>({1, 0}));
}

TEST(NearestClusterTest, SearchByXAgreesWithTheScanOfEveryCluster) {
  std::mt19937 rng(11);
  for (int round = 0; round < 50; ++round) {
    // Few distinct coordinates, so that equal distances are common.
    auto coordinate = [&] { return static_cast<int>(rng() % 12) * 25; };
    std::vector<Cluster> clusters(1 + rng() % 30);
    std::vector<bool> live(clusters.size());
    for (std::size_t i = 0; i < clusters.size(); ++i) {
      clusters[i].id = static_cast<int>(i);
      clusters[i].centroid = {coordinate(), coordinate()};
      live[i] = rng() % 5 != 0;
    }
    const CentroidsByX byX(clusters, live);
    for (int q = 0; q < 100; ++q) {
      const Point p{coordinate() - 20, coordinate() + 3};
      ASSERT_EQ(nearestCluster(p, clusters, byX, live),
                nearestCluster(p, clusters, live))
          << "round " << round << " point " << p.x << "," << p.y;
    }
  }
}

}  // namespace
