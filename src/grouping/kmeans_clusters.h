#pragma once

// The clustering step of the k-means grouping: customers placed at the mean
// plan position of their picks and split into k clusters. Internal to the
// grouping algorithms.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "grouping/grouping_customers.h"

namespace grouping_customers::detail {

struct PositionedCustomer {
  Point point;
  Customer customer;
};

// Mean plan position of the lines (int sums, each divided by the line count
// truncating toward zero); (0, 0) for no lines.
Point meanPosition(const std::vector<OItem>& lines);

// factor * (totalKey / cartFreeSpace) in single precision, truncated toward
// zero, then clamped to 1..waiting (at least 1): the cluster count can never
// exceed the customers that could seed the clusters, nor be 0.
std::size_t clusterCount(float factor,
                         std::int64_t totalKey,
                         float cartFreeSpace,
                         std::size_t waiting);

// Index of the live cluster whose centroid is nearest to p (Euclidean, in
// double, compared as float); on equal distances the lower index wins.
std::size_t nearestCluster(const Point& p,
                           const std::vector<Cluster>& clusters,
                           const std::vector<bool>& live);

// The live clusters ordered by the x of their centroids (ids), with those
// x values (xs), for the nearest-cluster search below.
struct CentroidsByX {
  CentroidsByX(const std::vector<Cluster>& clusters,
               const std::vector<bool>& live);
  std::vector<std::size_t> ids;
  std::vector<int> xs;
};

// The same answer as nearestCluster over every cluster, found by looking
// only at the clusters whose centroid x lies near enough to p's.
std::size_t nearestCluster(const Point& p,
                           const std::vector<Cluster>& clusters,
                           const CentroidsByX& byX,
                           const std::vector<bool>& live);

// k clusters seeded with the centroids of the first k positions, refined for
// at most maxPasses passes (at least one) until every centroid equals its
// cluster's mean. A cluster left empty by a pass blocks convergence and takes
// no customer for the rest of the call. The customers of the last pass are
// moved into the clusters, keyed by their total volume truncated to int.
// Requires 1 <= k <= positions.size().
std::vector<Cluster> formClusters(std::vector<PositionedCustomer> positions,
                                  std::size_t k,
                                  int maxPasses);

}  // namespace grouping_customers::detail
