#include "grouping/kmeans_clusters.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "types.h"

namespace grouping_customers::detail {

Point meanPosition(const std::vector<OItem>& lines) {
  if (lines.empty()) return Point{};
  std::int64_t sumX = 0;
  std::int64_t sumY = 0;
  for (const OItem& line : lines) {
    const SECTOR_ADDR_T& at = line.location();
    sumX += at.x;
    sumY += at.y;
  }
  const auto n = static_cast<std::int64_t>(lines.size());
  return {static_cast<int>(sumX / n), static_cast<int>(sumY / n)};
}

std::size_t clusterCount(float factor, std::int64_t totalKey,
                         float cartFreeSpace, std::size_t waiting) {
  const float k =
      factor * (static_cast<float>(totalKey) / cartFreeSpace);
  const std::int64_t count = clampToInt(k);  // NaN counts as 0
  if (count < 1 || waiting < 1) return 1;
  return std::min(static_cast<std::size_t>(count), waiting);
}

std::size_t nearestCluster(const Point& p, const std::vector<Cluster>& clusters,
                           const std::vector<bool>& live) {
  std::optional<std::size_t> best;
  float bestDistance = std::numeric_limits<float>::max();
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    if (!live[i]) continue;
    const double dx = static_cast<double>(std::int64_t{p.x} -
                                          clusters[i].centroid.x);
    const double dy = static_cast<double>(std::int64_t{p.y} -
                                          clusters[i].centroid.y);
    const auto d = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  if (best) return *best;
  // Unreachable with int coordinates; the first live cluster keeps the
  // customer from being lost.
  return static_cast<std::size_t>(
      std::find(live.begin(), live.end(), true) - live.begin());
}

namespace {

// Moves every centroid to its cluster's mean; true when none moved. A
// cluster without points has no mean: it is marked dead and the pass does
// not count as converged.
bool updateCentroids(std::vector<Cluster>& clusters, std::vector<bool>& live) {
  bool converged = true;
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    Cluster& cluster = clusters[i];
    if (cluster.points.empty()) {
      live[i] = false;
      converged = false;
      continue;
    }
    float sumX = 0;
    float sumY = 0;
    for (const Point& p : cluster.points) {
      sumX += static_cast<float>(p.x);
      sumY += static_cast<float>(p.y);
    }
    const auto count = static_cast<float>(cluster.points.size());
    const float meanX = sumX / count;
    const float meanY = sumY / count;
    if (static_cast<float>(cluster.centroid.x) != meanX ||
        static_cast<float>(cluster.centroid.y) != meanY) {
      converged = false;
    }
    cluster.centroid = {clampToInt(meanX), clampToInt(meanY)};
  }
  return converged;
}

}  // namespace

std::vector<Cluster> formClusters(std::vector<PositionedCustomer> positions,
                                  std::size_t k, int maxPasses) {
  std::vector<Cluster> clusters(k);
  for (std::size_t i = 0; i < k; ++i) {
    clusters[i].id = static_cast<int>(i);
    clusters[i].centroid = positions.at(i).point;
  }
  std::vector<bool> live(k, true);
  std::vector<std::size_t> assigned(positions.size(), 0);

  // At least one pass, or no customer would reach any cluster.
  const int passes = std::max(maxPasses, 1);
  for (int pass = 0; pass < passes; ++pass) {
    for (Cluster& cluster : clusters) cluster.points.clear();
    for (std::size_t j = 0; j < positions.size(); ++j) {
      assigned[j] = nearestCluster(positions[j].point, clusters, live);
      clusters[assigned[j]].points.push_back(positions[j].point);
    }
    if (updateCentroids(clusters, live)) break;
  }

  // The customers of the last pass, in position order within each cluster.
  for (std::size_t j = 0; j < positions.size(); ++j) {
    Customer& customer = positions[j].customer;
    clusters[assigned[j]].customers.emplace(
        clampToInt(customer.getTotalVolume()), std::move(customer));
  }
  return clusters;
}

}  // namespace grouping_customers::detail
