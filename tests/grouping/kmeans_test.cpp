#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "grouping/grouping_customers.h"
#include "grouping/kmeans_clusters.h"
#include "grouping_fixtures.h"

namespace {

using namespace grouping_fixtures;
using grouping_customers::Cluster;
using grouping_customers::kMeansClustering;
using grouping_customers::Point;
using grouping_customers::detail::clusterCount;
using grouping_customers::detail::formClusters;
using grouping_customers::detail::nearestCluster;
using grouping_customers::detail::PositionedCustomer;

constexpr float kCart = 328860.0f;

std::list<Cart> group(CustomerMultimap& customers, SolverConfiguration s) {
  CartConfiguration config = standardCart();
  return kMeansClustering(s, config, customers);
}

// A bare customer at a point, keyed by the given volume.
PositionedCustomer at(int id, Point p, float volume) {
  Customer c(id);
  c.totalVolume = volume;
  return {p, c};
}

std::vector<int> idsOf(const Cluster& cluster) {
  std::vector<int> ids;
  for (const auto& [key, c] : cluster.customers) ids.push_back(c.customerID);
  return ids;
}

TEST(KMeansTest, ClusterCountFollowsTheVolumeAndStaysWithinTheCustomers) {
  // 0.91 * T / 328860 truncated: below about 2.2 carts one cluster.
  EXPECT_EQ(clusterCount(0.91f, 722000, kCart, 10), 1u);
  EXPECT_EQ(clusterCount(0.91f, 722770, kCart, 10), 2u);
  EXPECT_EQ(clusterCount(0.91f, 10 * 328860, kCart, 20), 9u);
  // Never more clusters than customers to seed them, never none.
  EXPECT_EQ(clusterCount(0.91f, 828000, kCart, 1), 1u);
  EXPECT_EQ(clusterCount(0.91f, 0, kCart, 3), 1u);
  EXPECT_EQ(clusterCount(0.91f, -5000000, kCart, 3), 1u);
  EXPECT_EQ(clusterCount(0.91f, std::int64_t{3} * INT32_MAX, kCart, 4), 4u);
  EXPECT_EQ(clusterCount(0.91f, 0, 0.0f, 3), 1u);  // 0 / 0
}

TEST(KMeansTest, EqualDistanceGoesToTheLowerClusterIndex) {
  std::vector<Cluster> clusters(3);
  clusters[0].centroid = {0, 0};
  clusters[1].centroid = {100, 0};
  clusters[2].centroid = {50, 50};
  std::vector<bool> live = {true, true, true};
  EXPECT_EQ(nearestCluster({50, 0}, clusters, live), 0u);
  EXPECT_EQ(nearestCluster({60, 0}, clusters, live), 1u);
  EXPECT_EQ(nearestCluster({50, 30}, clusters, live), 2u);
  live[0] = false;  // an emptied cluster takes no one
  EXPECT_EQ(nearestCluster({0, 0}, clusters, live), 2u);

  // In a whole clustering the tied customer stays with cluster 0, whose
  // centroid then moves toward it.
  std::vector<Cluster> formed = formClusters(
      {at(1, {0, 0}, 900), at(2, {100, 0}, 800), at(3, {50, 0}, 10)}, 2, 40);
  EXPECT_EQ(idsOf(formed[0]), (std::vector{1, 3}));
  EXPECT_EQ(idsOf(formed[1]), std::vector{2});
  EXPECT_EQ(formed[0].centroid.x, 25);
  EXPECT_EQ(formed[1].centroid.x, 100);
}

TEST(KMeansTest, ClusterLeftEmptyTakesNoCustomerLater) {
  // Two clusters start at the same point; the tie sends everyone to the
  // first, the second never receives a customer again.
  std::vector<Cluster> formed = formClusters(
      {at(1, {10, 10}, 900), at(2, {10, 10}, 800), at(3, {30, 30}, 700)}, 2,
      40);
  EXPECT_EQ(idsOf(formed[0]), (std::vector{1, 2, 3}));
  EXPECT_TRUE(formed[1].customers.empty());
  EXPECT_TRUE(formed[1].points.empty());
  EXPECT_EQ(formed[0].centroid.x, 16);  // 50 / 3 truncated

  // Without any pass configured the customers still reach a cluster.
  std::vector<Cluster> unrefined =
      formClusters({at(1, {10, 10}, 900), at(2, {90, 90}, 800)}, 1, 0);
  EXPECT_EQ(idsOf(unrefined[0]), (std::vector{1, 2}));
}

TEST(KMeansTest, CustomerLargerThanTwoCartsIsSplitInsteadOfThrowing) {
  // 23 boxes: k would be 2 for one single customer.
  CustomerMultimap customers = wave({boxesCustomer(1, 23)});
  std::list<Cart> carts = group(customers, solver());
  ASSERT_EQ(carts.size(), 3u);
  std::vector<std::size_t> boxes;
  for (const Cart& cart : carts) {
    boxes.push_back(boxCount(cart));
    EXPECT_EQ(customerIds(cart), std::vector{1});
  }
  // By free space when stored: the part-filled last cart first.
  EXPECT_EQ(boxes, (std::vector<std::size_t>{5, 9, 9}));
  EXPECT_TRUE(customers.empty());
}

TEST(KMeansTest, ResultListsTheEmptiestCartFirst) {
  // The full cart is built first; the two that did not fit it are clustered
  // again and share a second, emptier cart.
  CustomerMultimap customers =
      wave({boxesCustomer(1, 9), boxesCustomer(2, 5), boxesCustomer(3, 2)});
  std::list<Cart> carts = group(customers, solver());
  ASSERT_EQ(carts.size(), 2u);
  EXPECT_EQ(customerIds(carts.front()), (std::vector{2, 3}));
  EXPECT_EQ(customerIds(carts.back()), std::vector{1});
  EXPECT_GT(carts.front().getCartFreeSpace(), carts.back().getCartFreeSpace());
  EXPECT_TRUE(customers.empty());
}

TEST(KMeansTest, ZeroIterationsStillPlaceEveryCustomer) {
  SolverConfiguration s = solver();
  s.kMeansIterations = 0;
  CustomerMultimap customers =
      wave({boxesCustomer(1, 4), boxesCustomer(2, 3, "VCC0001005")});
  std::list<Cart> carts = group(customers, s);
  ASSERT_EQ(carts.size(), 1u);
  EXPECT_EQ(customerIds(carts.front()), (std::vector{1, 2}));
  EXPECT_TRUE(customers.empty());
}

}  // namespace
