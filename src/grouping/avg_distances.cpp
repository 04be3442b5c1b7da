// Grouping by average walking distance: each cart starts with the largest
// waiting customer, and the others are tried in order of the mean walking
// distance between their lines and that customer's lines.

#include <algorithm>
#include <cstdint>

#include "grouping/grouping_customers.h"
#include "grouping/point_distances.h"
#include "grouping/ranking_measures.h"
#include "grouping/seed_loading.h"

namespace grouping_customers {

namespace detail {

std::vector<const SECTOR_ADDR_T*> locationsOf(const std::vector<OItem>& lines) {
  std::vector<const SECTOR_ADDR_T*> points;
  points.reserve(lines.size());
  for (const OItem& line : lines) points.push_back(&line.location());
  return points;
}

int averageDistance(const std::vector<OItem>& candidateLines,
                    std::span<const SECTOR_ADDR_T* const> seedPoints) {
  const std::int64_t count = static_cast<std::int64_t>(candidateLines.size()) *
                             static_cast<std::int64_t>(seedPoints.size());
  if (count == 0) return 0;
  std::int64_t sum = 0;
  for (const OItem& candidate : candidateLines) {
    const SECTOR_ADDR_T& a = candidate.location();
    for (const SECTOR_ADDR_T* seed : seedPoints) {
      sum += Warehouse::distance(a, *seed);
    }
  }
  // Every distance is an int, so their mean is one too.
  return static_cast<int>(sum / count);
}

}  // namespace detail

namespace {

struct RankedCandidate {
  int average;
  CustomerMultimap::iterator customer;
};

// Waiting customers by ascending average distance to the seed; equal averages
// keep the order of the multimap (larger volume first). A candidate's sum
// over its line pairs is the sum, over its lines, of that line's point's
// summed distance to the seed's lines: the same integers, added in another
// order.
detail::Ranking rankByAverageDistance(detail::PointDistances& distances,
                                      const Customer& seed,
                                      CustomerMultimap& waiting) {
  const std::vector<int>& seedPoints = distances.linePoints(seed);
  const std::vector<std::int64_t> toSeed = distances.sumsToLines(seedPoints);
  const auto seedCount = static_cast<std::int64_t>(seedPoints.size());
  std::vector<RankedCandidate> ranked;
  ranked.reserve(waiting.size());
  for (auto it = waiting.begin(); it != waiting.end(); ++it) {
    const std::vector<int>& points = distances.linePoints(it->second);
    std::int64_t sum = 0;
    for (int p : points) sum += toSeed[static_cast<std::size_t>(p)];
    const std::int64_t count =
        static_cast<std::int64_t>(points.size()) * seedCount;
    ranked.push_back({count == 0 ? 0 : static_cast<int>(sum / count), it});
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const RankedCandidate& a, const RankedCandidate& b) {
                     return a.average < b.average;
                   });
  detail::Ranking order;
  order.reserve(ranked.size());
  for (const RankedCandidate& r : ranked) order.push_back(r.customer);
  return order;
}

}  // namespace

std::list<Cart> algorithm_AVGDistances(SolverConfiguration& solver,
                                       CartConfiguration& carts,
                                       CustomerMultimap& customers,
                                       Warehouse& /*warehouse*/,
                                       const PlacedProgress& progress) {
  // The oracle holds no state; its static, copy-free form measures each
  // pair of distinct points once.
  detail::PointDistances distances(customers);
  return detail::groupBySeeds(
      solver, carts, customers,
      [&distances](const Customer& seed, CustomerMultimap& waiting) {
        return rankByAverageDistance(distances, seed, waiting);
      },
      progress);
}

}  // namespace grouping_customers
