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

std::size_t clusterCount(float factor,
                         std::int64_t totalKey,
                         float cartFreeSpace,
                         std::size_t waiting) {
  const float k = factor * (static_cast<float>(totalKey) / cartFreeSpace);
  const std::int64_t count = clampToInt(k);  // NaN counts as 0
  if (count < 1 || waiting < 1) return 1;
  return std::min(static_cast<std::size_t>(count), waiting);
}

namespace {

// The distance by which a point is assigned: Euclidean in double, compared
// as float.
float centroidDistance(const Point& p, const Point& centroid) {
  const double dx = static_cast<double>(std::int64_t{p.x} - centroid.x);
  const double dy = static_cast<double>(std::int64_t{p.y} - centroid.y);
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

// What the search answers when no cluster is live: the first live index,
// which is the cluster count then.
std::size_t noLiveCluster(const std::vector<bool>& live) {
  return static_cast<std::size_t>(std::find(live.begin(), live.end(), true) -
                                  live.begin());
}

}  // namespace

std::size_t nearestCluster(const Point& p,
                           const std::vector<Cluster>& clusters,
                           const std::vector<bool>& live) {
  std::optional<std::size_t> best;
  float bestDistance = std::numeric_limits<float>::max();
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    if (!live[i]) continue;
    const float d = centroidDistance(p, clusters[i].centroid);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  // Unreachable with int coordinates; the first live cluster keeps the
  // customer from being lost.
  return best ? *best : noLiveCluster(live);
}

CentroidsByX::CentroidsByX(const std::vector<Cluster>& clusters,
                           const std::vector<bool>& live) {
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    if (live[i]) ids.push_back(i);
  }
  std::sort(ids.begin(), ids.end(), [&](std::size_t a, std::size_t b) {
    return clusters[a].centroid.x < clusters[b].centroid.x;
  });
  xs.reserve(ids.size());
  for (std::size_t i : ids) xs.push_back(clusters[i].centroid.x);
}

std::size_t nearestCluster(const Point& p,
                           const std::vector<Cluster>& clusters,
                           const CentroidsByX& byX,
                           const std::vector<bool>& live) {
  // A cluster whose x alone is farther than the best distance so far cannot
  // be nearer or as near: the distance never falls below the one over x
  // alone, computed the same way. Moving away from p.x that bound only
  // grows, so each side stops at the first such cluster. Equal distances go
  // to the lower index, as in the scan of every cluster in index order.
  std::optional<std::size_t> best;
  float bestDistance = std::numeric_limits<float>::max();
  auto consider = [&](std::size_t i) {
    const float d = centroidDistance(p, clusters[i].centroid);
    if (d < bestDistance || (d == bestDistance && best && i < *best)) {
      bestDistance = d;
      best = i;
    }
  };
  auto beyond = [&](std::size_t k) {
    return centroidDistance(p, {byX.xs[k], p.y}) > bestDistance;
  };
  const std::size_t start = static_cast<std::size_t>(
      std::lower_bound(byX.xs.begin(), byX.xs.end(), p.x) - byX.xs.begin());
  for (std::size_t k = start; k < byX.ids.size() && !beyond(k); ++k) {
    consider(byX.ids[k]);
  }
  for (std::size_t k = start; k-- > 0 && !beyond(k);) consider(byX.ids[k]);
  return best ? *best : noLiveCluster(live);
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
                                  std::size_t k,
                                  int maxPasses) {
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
    const CentroidsByX byX(clusters, live);
    for (std::size_t j = 0; j < positions.size(); ++j) {
      assigned[j] = nearestCluster(positions[j].point, clusters, byX, live);
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
